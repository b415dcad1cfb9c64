// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/text.h"

namespace velmora::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "velmora-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a temporary folder";
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempFolder::Native(std::string_view name) const { return path_ + "/" + std::string(name); }

std::u16string TempFolder::Path(std::string_view name) const { return FromUtf8(Native(name)); }

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string target = Native(name);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return target;
}

void TempFolder::WriteCrowd(std::string_view subfolder, std::string_view bytes, int count) const {
  const fs::path folder = Native(subfolder);
  fs::create_directory(folder);
  const std::string original = Write(std::string(subfolder) + "/.original", bytes);
  for (int n = 0; n < count; ++n) {
    fs::create_hard_link(original, folder / ("face" + std::to_string(10000 + n) + ".png"));
  }
  fs::remove(original);
}

std::string TempFolder::ListNames() const {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) names.insert(entry.path().filename().string());
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

std::string ReadBytes(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& nativePath) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(nativePath, ignored));
}

}  // namespace velmora::test
