// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/memory_folder.h"

#include <utility>

#include "platform/paths.h"
#include "platform/text.h"

namespace velmora::test {

namespace {

// Every plain file below the folder, links followed, by its name relative to
// the folder, after `prefix`.
void CollectFiles(headless::MemoryFileSystem& disk, const std::u16string& folder, const std::string& prefix,
                  std::map<std::string, std::string>& files) {
  for (const std::u16string& name : disk.Names(folder)) {
    const std::u16string path = JoinPath(folder, name);
    const std::string relative = prefix + ToNativeName(name);
    if (const auto bytes = disk.Bytes(path)) {
      files[relative] = *bytes;
    } else if (disk.TypeOf(path) == EntryType::kFolder) {
      CollectFiles(disk, path, relative + "/", files);
    }
  }
}

}  // namespace

MemoryFolder::MemoryFolder(headless::MemoryFileSystem& disk, std::string path) : disk_(disk), path_(std::move(path)) {
  if (!disk_.Exists(Path())) disk_.AddFolder(Path());
}

std::u16string MemoryFolder::Path() const { return FromNativeName(path_); }

std::u16string MemoryFolder::Path(std::string_view name) const { return JoinPath(Path(), FromNativeName(name)); }

void MemoryFolder::Write(std::string_view name, std::string_view bytes) const {
  disk_.AddFile(Path(name), std::string(bytes));
}

void MemoryFolder::WriteCrowd(std::string_view subfolder, std::string_view bytes, int count) const {
  MakeFolder(subfolder);
  const std::string folder(subfolder);
  for (int n = 0; n < count; ++n) Write(folder + "/face" + std::to_string(10000 + n) + ".png", bytes);
}

void MemoryFolder::MakeFolder(std::string_view name) const { disk_.AddFolder(Path(name)); }

void MemoryFolder::MakeLink(std::string_view name, std::string_view target) const {
  disk_.AddLink(Path(name), FromNativeName(target));
}

void MemoryFolder::Remove(std::string_view name) const { disk_.Remove(Path(name)); }

std::string MemoryFolder::Read(std::string_view name) const { return disk_.Bytes(Path(name)).value_or(""); }

bool MemoryFolder::Exists(std::string_view name) const { return disk_.Exists(Path(name)); }

std::map<std::string, std::string> MemoryFolder::Files() const {
  std::map<std::string, std::string> files;
  CollectFiles(disk_, Path(), "", files);
  return files;
}

std::string MemoryFolder::ListNames() const {
  std::string joined;
  for (const std::u16string& name : disk_.Names(Path())) joined += (joined.empty() ? "" : " ") + ToNativeName(name);
  return joined;
}

}  // namespace velmora::test
