#pragma once
// The file-system services the window logic calls directly.

#include <cstdint>
#include <string>

namespace velmora {

// Attribute bits of a directory search; plain files always match.
enum DirAttributes : int {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrFolder = 16,
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
  // "." is hidden; a file the user cannot write is read-only. Raises for a
  // path that cannot be searched (invalid name, unreadable folder).
  [[nodiscard]] virtual std::u16string Dir(const std::u16string& path, int attributes) = 0;

  // Deletes the file. Raises when it is missing or cannot be deleted.
  virtual void Kill(const std::u16string& path) = 0;
};

}  // namespace velmora
