// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder under the system's temporary folder, removed with all its
// content when the test ends.

#include <string>
#include <string_view>

namespace velmora::test {

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  [[nodiscard]] const std::string& path() const { return path_; }
  // The native path of a name inside the folder.
  [[nodiscard]] std::string Native(std::string_view name) const;
  // The same path as the logic's 16-bit string.
  [[nodiscard]] std::u16string Path(std::string_view name) const;
  // Creates or replaces a file with exactly these bytes; returns its native path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // A new subfolder holding `count` names of one file (hard links, named
  // face10000.png on): a crowded folder without the disk time of writing each.
  void WriteCrowd(std::string_view subfolder, std::string_view bytes, int count) const;
  // The names of the folder's entries, sorted.
  [[nodiscard]] std::string ListNames() const;

 private:
  std::string path_;
};

[[nodiscard]] std::string ReadBytes(const std::string& nativePath);
[[nodiscard]] bool Exists(const std::string& nativePath);

}  // namespace velmora::test
