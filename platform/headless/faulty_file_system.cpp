#include "platform/headless/faulty_file_system.h"

namespace velmora::headless {

std::int64_t FaultyFileSystem::FileLen(const std::u16string& path) {
  plan_.Enter(PlatformCall::kFileLen);
  return underneath_.FileLen(path);
}

std::u16string FaultyFileSystem::Dir(const std::u16string& path, int attributes) {
  plan_.Enter(PlatformCall::kDir);
  return underneath_.Dir(path, attributes);
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
