// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file helpers of the main window: read a file into a byte string,
// write a string into a file, test whether a path names an entry. The disk
// is reached only through the FileSystem; these helpers add the code page
// (one character per byte).

#include <string>

#include "platform/file_system.h"

namespace velmora {

// The file's content as a byte string (one character per byte, through the
// code page). Never creates a file. Raises what FileSystem::ReadFile raises:
// 53 for a missing file, 76 for a missing folder, 75 for a folder or anything
// that is not a plain file, the mapped error of any failing read.
[[nodiscard]] std::u16string ReadWholeFile(FileSystem& fileSystem, const std::u16string& path);

// Writes the string's bytes (one per character, through the code page), with
// no line end added, through FileSystem::ReplaceFile: an existing file is
// replaced only by a complete write, so a failure leaves it as it was and no
// temporary file behind. Raises the mapped error on failure.
void WriteWholeFile(FileSystem& fileSystem, const std::u16string& path, const std::u16string& data);

// Whether the path may name an existing file or folder, hidden and read-only
// ones included; "*" and "?" in the name match any entry. False only when the
// file system answers that no entry matches; true when it cannot tell, so that
// a caller cleaning up never takes a failure for "already gone".
[[nodiscard]] bool MayExist(FileSystem& fileSystem, const std::u16string& path) noexcept;

// Writes the string's bytes into a new, uniquely named ".png" file in the
// system's temporary folder (FileSystem::WriteTemporaryFile) and returns its
// path. The caller deletes it. Raises the mapped error on failure, leaving
// nothing.
[[nodiscard]] std::u16string WriteTemporaryPicture(FileSystem& fileSystem, const std::u16string& data);

}  // namespace velmora
