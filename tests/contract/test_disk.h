// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disk the contract tests lay out and look at, the same on both sides: a
// real temporary folder read through PosixFileSystem, or a folder of a
// MemoryFileSystem. Names are native bytes relative to the disk's test folder
// ("" is the folder itself); absolute ones are kept.

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace velmora::contract {

class Disk {
 public:
  virtual ~Disk() = default;
  // The program's way to the disk.
  virtual FileSystem& files() = 0;
  virtual void AddFile(std::string_view name, std::string_view bytes, unsigned mode = 0644) = 0;
  virtual void AddFolder(std::string_view name) = 0;
  virtual void AddLink(std::string_view name, std::string_view target) = 0;
  // A FIFO: neither file nor folder.
  virtual void AddOther(std::string_view name) = 0;
  // The entry and everything below it.
  virtual void Remove(std::string_view name) = 0;
  virtual void SetMode(std::string_view name, unsigned mode) = 0;
  virtual void SetTemporaryFolder(std::string_view name) = 0;
  [[nodiscard]] virtual bool Exists(std::string_view name) const = 0;
  [[nodiscard]] virtual bool IsLink(std::string_view name) const = 0;
  // A plain file's bytes, links followed.
  [[nodiscard]] virtual std::optional<std::string> Bytes(std::string_view name) const = 0;
  [[nodiscard]] virtual std::optional<unsigned> Mode(std::string_view name) const = 0;
  [[nodiscard]] virtual std::set<std::string> Names(std::string_view folder) const = 0;

  [[nodiscard]] std::string Native(std::string_view name) const;
  [[nodiscard]] std::u16string Path(std::string_view name = "") const;

 protected:
  std::string base_;
};

// Whether the tests run as root, whom permission bits do not stop; the memory
// disk takes the same user.
[[nodiscard]] bool RunsAsRoot();

using DiskMaker = std::unique_ptr<Disk> (*)();
// The real disk under a fresh temporary folder, with the umask at 022 and
// $TMPDIR as the test sets it, all restored at the end.
[[nodiscard]] std::unique_ptr<Disk> MakePosixDisk();
// The same under "/work" of a disk in memory.
[[nodiscard]] std::unique_ptr<Disk> MakeMemoryDisk();

}  // namespace velmora::contract
