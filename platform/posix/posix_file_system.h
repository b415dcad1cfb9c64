// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-system services on the real disk through POSIX calls, and the
// path and error helpers that every file operation of the program shares.

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace velmora {

// The path as the operating system takes it (UTF-8). Raises 52 for an empty
// path or one holding a NUL character.
[[nodiscard]] std::string NativePath(std::u16string_view path);

// Raises the program's error for a failed call on a path: a missing entry
// whose folder is missing too is 76 (path not found) rather than 53.
[[noreturn]] void RaiseFileError(int errnoValue, const std::string& nativePath);

// The folder part of a native path ("." for a bare name, "/" at the root).
[[nodiscard]] std::string ParentFolder(const std::string& nativePath);

class PosixFileSystem : public FileSystem {
 public:
  [[nodiscard]] std::int64_t FileLen(const std::u16string& path) override;
  [[nodiscard]] std::u16string Dir(const std::u16string& path, int attributes) override;
  [[nodiscard]] std::vector<FolderItem> ListFolder(const std::u16string& folder) override;
  [[nodiscard]] EntryType TypeOf(const std::u16string& path) override;
  void Kill(const std::u16string& path) override;
  [[nodiscard]] std::string ReadFile(const std::u16string& path) override;
  void ReplaceFile(const std::u16string& path, const std::string& bytes) override;
  void WriteNewFile(const std::u16string& path, const std::string& bytes) override;
  [[nodiscard]] std::u16string WriteTemporaryFile(const std::string& bytes) override;
};

}  // namespace velmora
