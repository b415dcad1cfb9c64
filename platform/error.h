// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one error type that crosses the platform interface: a number and a
// German description, like the runtime errors the window logic traps.

#include <exception>
#include <string>

namespace velmora {

enum ErrorNumber : int {
  kErrOutOfMemory = 7,
  kErrApplicationDefined = 95,  // any failure without a number of its own
  kErrBadFileName = 52,
  kErrFileNotFound = 53,
  kErrDeviceIo = 57,
  kErrFileAlreadyExists = 58,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrDeviceUnavailable = 71,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrCancel = 32755,
};

class Error : public std::exception {
 public:
  // The description is the standard text of the number.
  explicit Error(int number);
  Error(int number, std::u16string description);

  [[nodiscard]] int number() const noexcept { return number_; }
  [[nodiscard]] const std::u16string& description() const noexcept { return description_; }
  // The description in UTF-8.
  [[nodiscard]] const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  std::u16string description_;
  std::string what_;
};

// The standard German description of an error number; a generic text for
// numbers without one.
[[nodiscard]] std::u16string DescriptionOf(int number);

// Maps a C library errno value to the program's error numbers. ENOENT maps to
// 53 (file not found); callers that know a folder is missing use 76.
[[nodiscard]] int ErrorNumberFromErrno(int errnoValue) noexcept;

[[noreturn]] void RaiseFromErrno(int errnoValue);

}  // namespace velmora
