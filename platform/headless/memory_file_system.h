// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file system wholly in memory, so that the window logic's tests never touch
// the disk: folders, plain files, symbolic links and other entries (a FIFO or
// a device) under "/", with permission bits and volumes that stop being ready.
// Every call raises the error numbers PosixFileSystem raises on a real disk.
//
// What it leaves out: there is no working folder (a relative path starts at
// "/"), the umask is always 022 (a new file gets 0644), and a FIFO or device
// swallows whatever is written into it, as /dev/null does.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace velmora::headless {

class MemoryFileSystem : public FileSystem {
 public:
  // The ordinary user owns every entry and is held back by the owner's
  // permission bits; permission bits do not stop root.
  enum class User { kOwner, kRoot };

  // An empty disk holding just the temporary folder "/tmp".
  explicit MemoryFileSystem(User user = User::kOwner);
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;
  ~MemoryFileSystem() override;

  [[nodiscard]] std::int64_t FileLen(const std::u16string& path) override;
  [[nodiscard]] std::u16string Dir(const std::u16string& path, int attributes) override;
  [[nodiscard]] std::vector<FolderItem> ListFolder(const std::u16string& folder) override;
  [[nodiscard]] EntryType TypeOf(const std::u16string& path) override;
  void Kill(const std::u16string& path) override;
  [[nodiscard]] std::string ReadFile(const std::u16string& path) override;
  void ReplaceFile(const std::u16string& path, const std::string& bytes) override;
  void WriteNewFile(const std::u16string& path, const std::string& bytes) override;
  [[nodiscard]] std::u16string WriteTemporaryFile(const std::string& bytes) override;

  // Setting up the disk. Paths are absolute; the folders on the way are
  // created with mode 0755 where missing, and an entry already at the path
  // is replaced, a folder with all its content. std::invalid_argument for a
  // path that cannot hold an entry.
  void AddFolder(const std::u16string& path, unsigned mode = 0755);
  void AddFile(const std::u16string& path, std::string bytes, unsigned mode = 0644);
  // The target is taken as it is, relative to the link's folder or absolute.
  void AddLink(const std::u16string& path, const std::u16string& target);
  // A FIFO or device: neither file nor folder.
  void AddOther(const std::u16string& path);
  // The entry and everything below it; nothing when it is missing.
  void Remove(const std::u16string& path);
  // The permission bits of the entry, links followed.
  void SetMode(const std::u16string& path, unsigned mode);
  // While not ready, every call on the folder or below it raises 71, as a
  // dead device does.
  void SetNotReady(const std::u16string& mountPoint, bool notReady);
  // Where WriteTemporaryFile writes; the folder need not exist.
  void SetTemporaryFolder(const std::u16string& folder);

  // Looking at the disk, whatever the permissions and volumes say.
  // A plain file's bytes, links followed.
  [[nodiscard]] std::optional<std::string> Bytes(const std::u16string& path) const;
  // Whether the entry itself is there; a dangling link is.
  [[nodiscard]] bool Exists(const std::u16string& path) const;
  // The entry's permission bits, links followed.
  [[nodiscard]] std::optional<unsigned> Mode(const std::u16string& path) const;
  [[nodiscard]] bool IsLink(const std::u16string& path) const;
  // The names in the folder, links followed, in order; none for a missing one.
  [[nodiscard]] std::vector<std::u16string> Names(const std::u16string& folder) const;

 private:
  struct Node;
  struct Lookup;
  enum class LastLink { kKept, kFollowed };
  enum class Checks { kUser, kNone };

  [[nodiscard]] Lookup Walk(std::u16string_view path, LastLink lastLink, Checks checks) const;
  [[nodiscard]] Lookup Reach(const std::u16string& path, LastLink lastLink) const;
  [[nodiscard]] Node& Existing(const std::u16string& path, LastLink lastLink) const;
  [[nodiscard]] Lookup OpenFolder(const std::u16string& path) const;
  [[nodiscard]] Node* LookAt(std::u16string_view path, LastLink lastLink) const;
  [[nodiscard]] Node& SetUpEntry(std::u16string_view path) const;
  [[nodiscard]] bool Shows(const std::u16string& path, std::u16string_view name, int attributes) const;
  [[nodiscard]] std::u16string FirstMatchInFolder(const std::u16string& folder, std::u16string_view pattern,
                                                  int attributes) const;
  [[nodiscard]] std::u16string WithLinksResolved(std::u16string path) const;
  [[nodiscard]] EntryType TypeAt(const std::u16string& path) const;
  [[nodiscard]] bool Allows(const Node& node, unsigned ownerBit) const;
  [[nodiscard]] bool IsReadOnly(const Node& node) const;
  void MayChangeIn(const Lookup& found, const std::u16string& path) const;
  [[noreturn]] void Raise(int errnoValue, const std::u16string& path) const;
  static void Create(const Lookup& found, const std::string& bytes);
  Node& FolderForSetUp(const std::u16string& path);
  Node& Put(const std::u16string& path, Node node);

  User user_;
  std::unique_ptr<Node> root_;
  std::u16string temporaryFolder_;
  std::size_t temporaryFilesMade_ = 0;
};

}  // namespace velmora::headless
