// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder of an in-memory disk, with the helpers a test would use on a real
// temporary folder. Names are UTF-8, or raw bytes that are not (see
// FromNativeName).

#include <map>
#include <string>
#include <string_view>

#include "platform/headless/memory_file_system.h"

namespace velmora::test {

class MemoryFolder {
 public:
  // Creates the folder, and the folders on the way to it, unless it exists.
  MemoryFolder(headless::MemoryFileSystem& disk, std::string path);

  [[nodiscard]] headless::MemoryFileSystem& disk() const { return disk_; }
  [[nodiscard]] const std::string& path() const { return path_; }
  // The folder's own path as the logic holds it.
  [[nodiscard]] std::u16string Path() const;
  // The path of a name inside the folder.
  [[nodiscard]] std::u16string Path(std::string_view name) const;

  // Creates or replaces a file with exactly these bytes.
  void Write(std::string_view name, std::string_view bytes) const;
  // A new subfolder holding `count` files of these bytes, named face10000.png on.
  void WriteCrowd(std::string_view subfolder, std::string_view bytes, int count) const;
  void MakeFolder(std::string_view name) const;
  void MakeLink(std::string_view name, std::string_view target) const;
  // The entry and everything below it.
  void Remove(std::string_view name) const;

  // A file's bytes, "" when there is none.
  [[nodiscard]] std::string Read(std::string_view name) const;
  // Whether the entry is there; a dangling link is.
  [[nodiscard]] bool Exists(std::string_view name) const;
  // Every plain file below the folder, links followed, by its name relative
  // to the folder.
  [[nodiscard]] std::map<std::string, std::string> Files() const;
  // The names of the folder's entries, sorted, joined by spaces.
  [[nodiscard]] std::string ListNames() const;

 private:
  headless::MemoryFileSystem& disk_;
  std::string path_;
};

}  // namespace velmora::test
