// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/faulty_file_system.h"

#include "platform/error.h"

namespace velmora::headless {

std::int64_t FaultyFileSystem::FileLen(const std::u16string& path) {
  plan_.Enter(PlatformCall::kFileLen);
  return underneath_.FileLen(path);
}

std::u16string FaultyFileSystem::Dir(const std::u16string& path, int attributes) {
  plan_.Enter(PlatformCall::kDir);
  return underneath_.Dir(path, attributes);
}

std::vector<FolderItem> FaultyFileSystem::ListFolder(const std::u16string& folder) {
  plan_.Enter(PlatformCall::kListFolder);
  return underneath_.ListFolder(folder);
}

// TypeOf raises only for an invalid name; any other failure finds nothing.
EntryType FaultyFileSystem::TypeOf(const std::u16string& path) {
  try {
    plan_.Enter(PlatformCall::kTypeOf);
  } catch (const Error&) {
    return EntryType::kNone;
  }
  return underneath_.TypeOf(path);
}

void FaultyFileSystem::Kill(const std::u16string& path) {
  plan_.Enter(PlatformCall::kKill);
  underneath_.Kill(path);
}

std::string FaultyFileSystem::ReadFile(const std::u16string& path) {
  plan_.Enter(PlatformCall::kReadFile);
  return underneath_.ReadFile(path);
}

void FaultyFileSystem::ReplaceFile(const std::u16string& path, const std::string& bytes) {
  plan_.Enter(PlatformCall::kReplaceFile);
  underneath_.ReplaceFile(path, bytes);
}

void FaultyFileSystem::WriteNewFile(const std::u16string& path, const std::string& bytes) {
  plan_.Enter(PlatformCall::kWriteNewFile);
  underneath_.WriteNewFile(path, bytes);
}

std::u16string FaultyFileSystem::WriteTemporaryFile(const std::string& bytes) {
  plan_.Enter(PlatformCall::kWriteTemporaryFile);
  return underneath_.WriteTemporaryFile(bytes);
}

}  // namespace velmora::headless
