// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drives of the drive list: the mounted volumes that hold real files,
// "/" first, then the others sorted; pseudo file systems (proc, sysfs, cgroup,
// devtmpfs, tmpfs under /run and /dev, ...) are left out.

#include <span>
#include <string>
#include <vector>

namespace velmora {

struct Volume {
  std::u16string mountPoint;  // "/" or an absolute path without trailing "/"
  std::u16string device;      // as the mount table names it, e.g. "/dev/sda1"
};

// One line of the mount table.
struct MountEntry {
  std::u16string device;
  std::u16string mountPoint;
  std::string type;  // "ext4", "proc", ...
};

// The volumes among the mounts, ordered as above; a later mount on the same
// point hides the earlier one. "/" is always there, without a device when
// the table has none.
[[nodiscard]] std::vector<Volume> RealVolumes(std::span<const MountEntry> mounts);

// The drive text of a volume: its mount point, a space and the device's last
// path part in brackets, e.g. "/home [sda2]". Never a valid folder to show.
[[nodiscard]] std::u16string DriveTextOf(const Volume& volume);

}  // namespace velmora
