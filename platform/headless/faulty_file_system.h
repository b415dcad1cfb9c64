// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file system with failures on demand: every call is entered in a
// FaultPlan, which may make it raise instead (TypeOf, which never raises for
// a valid name, then finds nothing); otherwise the call passes to the file
// system underneath unchanged.

#include "platform/file_system.h"
#include "platform/headless/fault_plan.h"

namespace velmora::headless {

class FaultyFileSystem : public FileSystem {
 public:
  FaultyFileSystem(FileSystem& underneath, FaultPlan& plan) : underneath_(underneath), plan_(plan) {}

  [[nodiscard]] std::int64_t FileLen(const std::u16string& path) override;
  [[nodiscard]] std::u16string Dir(const std::u16string& path, int attributes) override;
  [[nodiscard]] std::vector<FolderItem> ListFolder(const std::u16string& folder) override;
  [[nodiscard]] EntryType TypeOf(const std::u16string& path) override;
  void Kill(const std::u16string& path) override;
  [[nodiscard]] std::string ReadFile(const std::u16string& path) override;
  void ReplaceFile(const std::u16string& path, const std::string& bytes) override;
  void WriteNewFile(const std::u16string& path, const std::string& bytes) override;
  [[nodiscard]] std::u16string WriteTemporaryFile(const std::string& bytes) override;

 private:
  FileSystem& underneath_;
  FaultPlan& plan_;
};

}  // namespace velmora::headless
