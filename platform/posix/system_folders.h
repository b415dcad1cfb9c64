// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the lists start: this system's mounted volumes and the process's
// working folder.

#include <string>
#include <vector>

#include "platform/volumes.h"

namespace velmora {

// The mounts of a mount table file in the format of /proc/self/mounts, read
// with getmntent(3), which also decodes its octal escapes ("\040" for a
// space). None when the file cannot be read.
[[nodiscard]] std::vector<MountEntry> ReadMountTable(const std::string& file);

// The volumes of this system, from /proc/self/mounts; "/" alone when it
// cannot be read.
[[nodiscard]] std::vector<Volume> SystemVolumes();

// The process's working folder; where it has been deleted, the folder the
// shell says it was (the lists then show the nearest one above that exists).
[[nodiscard]] std::u16string WorkingFolder();

}  // namespace velmora
