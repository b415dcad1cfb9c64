// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Failures a test arranges for the headless platform: the n-th call from now,
// of one kind or of any kind, raises an error of the program's table instead
// of doing its work. Every call that can fail is counted by kind, so that a
// test can first watch what a handler calls and then fail each call in turn.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace velmora::headless {

// The platform calls that can fail.
enum class PlatformCall {
  // The file system.
  kFileLen,
  kDir,
  kListFolder,
  kTypeOf,
  kKill,
  kReadFile,
  kReplaceFile,
  kWriteNewFile,
  kWriteTemporaryFile,
  // The Save dialog with an error other than Cancel.
  kShowSave,
  // The clipboard.
  kGetText,
  // The lists.
  kFileListSetPath,
  kFileListRefresh,
  kDirListSetPath,
};

inline constexpr std::size_t kPlatformCallKinds = static_cast<std::size_t>(PlatformCall::kDirListSetPath) + 1;

// The call's name, for test output.
[[nodiscard]] std::string_view NameOf(PlatformCall call);

class FaultPlan {
 public:
  // The n-th call from now (1: the next one), counting only calls of the
  // given kind when one is given, raises the error number once. Replaces any
  // failure arranged before.
  void FailNthCall(int n, int errorNumber, std::optional<PlatformCall> kind = std::nullopt);
  // No call fails any more.
  void Disarm() { armed_.reset(); }
  // Whether the arranged failure has happened since it was arranged.
  [[nodiscard]] bool fired() const { return fired_; }

  // The platform's side: counts the call and raises the arranged error when
  // this is the call to fail.
  void Enter(PlatformCall call);

  // How many calls of that kind were made since the counts were last reset.
  [[nodiscard]] int count(PlatformCall call) const { return counts_[static_cast<std::size_t>(call)]; }
  void ResetCounts() { counts_ = {}; }

 private:
  struct Arranged {
    int callsLeft;
    int errorNumber;
    std::optional<PlatformCall> kind;
  };

  std::optional<Arranged> armed_;
  bool fired_ = false;
  std::array<int, kPlatformCallKinds> counts_{};
};

}  // namespace velmora::headless
