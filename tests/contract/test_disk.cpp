// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/contract/test_disk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/headless/memory_file_system.h"
#include "platform/posix/posix_file_system.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velmora::contract {
namespace {

using headless::MemoryFileSystem;

class PosixDisk : public Disk {
 public:
  PosixDisk() : savedUmask_(::umask(022)) {
    base_ = folder_.path();
    if (const char* configured = std::getenv("TMPDIR")) savedTemporaryFolder_ = configured;
  }
  PosixDisk(const PosixDisk&) = delete;
  PosixDisk& operator=(const PosixDisk&) = delete;
  ~PosixDisk() override {
    // Opened up again, outermost first, so that the folder can be removed.
    for (auto path = restricted_.rbegin(); path != restricted_.rend(); ++path) ::chmod(path->c_str(), 0700);
    if (savedTemporaryFolder_) {
      ::setenv("TMPDIR", savedTemporaryFolder_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
    ::umask(savedUmask_);
  }

  FileSystem& files() override { return files_; }
  void AddFile(std::string_view name, std::string_view bytes, unsigned mode) override {
    folder_.Write(name, bytes);
    EXPECT_EQ(::chmod(Native(name).c_str(), mode), 0);
  }
  void AddFolder(std::string_view name) override { EXPECT_TRUE(std::filesystem::create_directory(Native(name))); }
  void AddLink(std::string_view name, std::string_view target) override {
    EXPECT_EQ(::symlink(std::string(target).c_str(), Native(name).c_str()), 0);
  }
  void AddOther(std::string_view name) override { EXPECT_EQ(::mkfifo(Native(name).c_str(), 0644), 0); }
  void Remove(std::string_view name) override { std::filesystem::remove_all(Native(name)); }
  void SetMode(std::string_view name, unsigned mode) override {
    EXPECT_EQ(::chmod(Native(name).c_str(), mode), 0);
    restricted_.push_back(Native(name));
  }
  void SetTemporaryFolder(std::string_view name) override { ::setenv("TMPDIR", Native(name).c_str(), 1); }
  [[nodiscard]] bool Exists(std::string_view name) const override { return test::Exists(Native(name)); }
  [[nodiscard]] bool IsLink(std::string_view name) const override {
    struct stat info {};
    return ::lstat(Native(name).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
  }
  [[nodiscard]] std::optional<std::string> Bytes(std::string_view name) const override {
    struct stat info {};
    if (::stat(Native(name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return test::ReadBytes(Native(name));
  }
  [[nodiscard]] std::optional<unsigned> Mode(std::string_view name) const override {
    struct stat info {};
    if (::stat(Native(name).c_str(), &info) != 0) return std::nullopt;
    return info.st_mode & 07777;
  }
  [[nodiscard]] std::set<std::string> Names(std::string_view folder) const override {
    std::set<std::string> names;
    std::error_code unreadable;
    for (const auto& entry : std::filesystem::directory_iterator(Native(folder), unreadable)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

 private:
  mode_t savedUmask_;
  std::optional<std::string> savedTemporaryFolder_;
  test::TempFolder folder_;
  PosixFileSystem files_;
  std::vector<std::string> restricted_;
};

// The same layout in memory under "/work".
class MemoryDisk : public Disk {
 public:
  MemoryDisk() {
    base_ = "/work";
    files_.AddFolder(Path(""));
  }

  FileSystem& files() override { return files_; }
  void AddFile(std::string_view name, std::string_view bytes, unsigned mode) override {
    files_.AddFile(Path(name), std::string(bytes), mode);
  }
  void AddFolder(std::string_view name) override { files_.AddFolder(Path(name)); }
  void AddLink(std::string_view name, std::string_view target) override {
    files_.AddLink(Path(name), FromNativeName(target));
  }
  void AddOther(std::string_view name) override { files_.AddOther(Path(name)); }
  void Remove(std::string_view name) override { files_.Remove(Path(name)); }
  void SetMode(std::string_view name, unsigned mode) override { files_.SetMode(Path(name), mode); }
  void SetTemporaryFolder(std::string_view name) override { files_.SetTemporaryFolder(Path(name)); }
  [[nodiscard]] bool Exists(std::string_view name) const override { return files_.Exists(Path(name)); }
  [[nodiscard]] bool IsLink(std::string_view name) const override { return files_.IsLink(Path(name)); }
  [[nodiscard]] std::optional<std::string> Bytes(std::string_view name) const override {
    return files_.Bytes(Path(name));
  }
  [[nodiscard]] std::optional<unsigned> Mode(std::string_view name) const override { return files_.Mode(Path(name)); }
  [[nodiscard]] std::set<std::string> Names(std::string_view folder) const override {
    std::set<std::string> names;
    for (const std::u16string& name : files_.Names(Path(folder))) names.insert(ToNativeName(name));
    return names;
  }

 private:
  MemoryFileSystem files_{RunsAsRoot() ? MemoryFileSystem::User::kRoot : MemoryFileSystem::User::kOwner};
};

}  // namespace

std::string Disk::Native(std::string_view name) const {
  if (name.starts_with('/')) return std::string(name);
  return name.empty() ? base_ : base_ + "/" + std::string(name);
}

std::u16string Disk::Path(std::string_view name) const { return FromNativeName(Native(name)); }

bool RunsAsRoot() { return ::geteuid() == 0; }

std::unique_ptr<Disk> MakePosixDisk() { return std::make_unique<PosixDisk>(); }
std::unique_ptr<Disk> MakeMemoryDisk() { return std::make_unique<MemoryDisk>(); }

}  // namespace velmora::contract
