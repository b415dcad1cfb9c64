#pragma once
// Whole-file helpers of the main window: read a file into a byte string,
// write a string into a file, test whether a path names an entry.

#include <string>

#include "platform/file_system.h"

namespace velmora {

// The file's content as a byte string (one character per byte, through the
// code page). Never creates a file. Raises 53 for a missing file, 76 for a
// missing folder, 75 for a folder or anything that is not a plain file, and
// the mapped error of any failing read.
[[nodiscard]] std::u16string ReadWholeFile(const std::u16string& path);

// Writes the string's bytes (one per character, through the code page), with
// no line end added. An existing plain file is replaced atomically: the data
// goes into a sibling temporary file that is then renamed over the target,
// keeping the target's permissions, so a failure leaves the old file as it was
// and no temporary file behind. A symbolic link is written through; a device
// is written in place. Raises the mapped error on failure.
void WriteWholeFile(const std::u16string& path, const std::u16string& data);

// True when the path names an existing file or folder, hidden and read-only
// ones included; "*" and "?" in the name match any entry. False on any failure.
[[nodiscard]] bool FileExists(FileSystem& fileSystem, const std::u16string& path) noexcept;

}  // namespace velmora

namespace velmora {

// Writes the string's bytes into a new file with a unique name ending in
// ".png" in the system's temporary folder ($TMPDIR, else /tmp), created
// exclusively so that no existing file is ever opened, and returns its path.
// The caller deletes it. Raises the mapped error on failure, leaving nothing.
[[nodiscard]] std::u16string WriteTemporaryPicture(const std::u16string& data);

}  // namespace velmora
