// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/whole_file.h"

#include "codec/code_page.h"
#include "platform/bytes.h"

namespace velmora {
namespace {

constexpr int kExistenceMask = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrFolder;

}  // namespace

std::u16string ReadWholeFile(FileSystem& fileSystem, const std::u16string& path) {
  return BytesToByteString(BytesOf(fileSystem.ReadFile(path)));
}

void WriteWholeFile(FileSystem& fileSystem, const std::u16string& path, const std::u16string& data) {
  fileSystem.ReplaceFile(path, ByteStringToBytes(data));
}

std::u16string WriteTemporaryPicture(FileSystem& fileSystem, const std::u16string& data) {
  return fileSystem.WriteTemporaryFile(ByteStringToBytes(data));
}

bool MayExist(FileSystem& fileSystem, const std::u16string& path) noexcept {
  try {
    return !fileSystem.Dir(path, kExistenceMask).empty();
  } catch (...) {
    return true;
  }
}

}  // namespace velmora
