// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-system services the window logic calls directly.

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Attribute bits of a directory search; plain files always match.
enum DirAttributes : int {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrFolder = 16,
};

// What a path names, symbolic links followed: a dangling link names nothing.
enum class EntryType { kNone, kFile, kFolder, kOther };

struct FolderItem {
  std::u16string name;
  EntryType type;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The file's length in bytes. Raises 53 for a missing file, 76 for a
  // missing folder, 75 for a folder.
  [[nodiscard]] virtual std::int64_t FileLen(const std::u16string& path) = 0;

  // The name (without folder) of the first entry that matches the path and
  // the attribute mask, or "" when none does. The name part may hold the
  // wildcards "*" and "?", matched case-insensitively. A name beginning with
  // "." is hidden; a file the user cannot write, or for root one without any
  // write bit, is read-only. Raises for a
  // path that cannot be searched (invalid name, unreadable folder).
  [[nodiscard]] virtual std::u16string Dir(const std::u16string& path, int attributes) = 0;

  // Every entry of the folder but "." and "..", hidden ones included, in no
  // particular order. Raises 76 for a missing folder (or a path through a
  // file), 70 for one the user may not read, 71 for a volume that is not
  // ready, 52 for an invalid name, and the mapped error of any other failure.
  [[nodiscard]] virtual std::vector<FolderItem> ListFolder(const std::u16string& folder) = 0;

  // What the path names; kNone when nothing can be found there, for whatever
  // reason. Raises 52 for an invalid name.
  [[nodiscard]] virtual EntryType TypeOf(const std::u16string& path) = 0;

  // Deletes the file. Raises when it is missing or cannot be deleted.
  virtual void Kill(const std::u16string& path) = 0;

  // The file's bytes. Never creates a file. Raises 53 for a missing file, 76
  // for a missing folder, 75 for a folder or anything that is not a plain
  // file, and the mapped error of any failing read.
  [[nodiscard]] virtual std::string ReadFile(const std::u16string& path) = 0;

  // Makes the file hold exactly these bytes. An existing plain file is
  // replaced atomically: the bytes go into a sibling temporary file that is
  // then renamed over the target, keeping the target's permissions, so a
  // failure leaves the old file as it was and no temporary file behind. An
  // existing read-only file (see Dir) raises 70 before anything is written. A
  // symbolic link is written through: the link stays and the file it names,
  // created if need be, gets the bytes. A device is written in place; a
  // folder raises 75. Raises the mapped error on failure.
  virtual void ReplaceFile(const std::u16string& path, const std::string& bytes) = 0;

  // Creates the file, exclusively, and writes the bytes into it. Raises 58
  // when the name is taken (nothing is opened then) and the mapped error of
  // any other failure, leaving nothing.
  virtual void WriteNewFile(const std::u16string& path, const std::string& bytes) = 0;

  // Writes the bytes into a new file named "velmora-XXXXXX.png" (a unique
  // part in place of the X) in the system's temporary folder ($TMPDIR, else
  // /tmp), created exclusively so that no existing file is ever opened, and
  // returns its path. The caller deletes it. Raises the mapped error on
  // failure, leaving nothing.
  [[nodiscard]] virtual std::u16string WriteTemporaryFile(const std::string& bytes) = 0;
};

}  // namespace velmora
