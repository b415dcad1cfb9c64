// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/system_folders.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace velmora {
namespace {

// The drive texts of the volumes of a mount table file with these lines.
std::vector<std::u16string> DriveTextsOfTable(const std::string& mounts) {
  const test::TempFolder folder;
  std::vector<std::u16string> texts;
  for (const Volume& volume : RealVolumes(ReadMountTable(folder.Write("mounts", mounts)))) {
    texts.push_back(DriveTextOf(volume));
  }
  return texts;
}

TEST(MountTable, KeepsRealVolumesRootFirstThenSortedOnce) {
  const std::string mounts =
      "rootfs / rootfs rw 0 0\n"
      "/dev/sda2 /home ext4 rw,relatime 0 0\n"
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "tmpfs /run/user/1000 tmpfs rw 0 0\n"
      "tmpfs /dev/shm tmpfs rw 0 0\n"
      "tmpfs /tmp tmpfs rw 0 0\n"
      "/dev/loop3 /snap/core/123 squashfs ro 0 0\n"
      "/dev/sdb1 /media/USB\\040Stick vfat rw 0 0\n"
      "/dev/sdc1 /mnt/a\\011b\\134c ext4 rw 0 0\n"
      "overlay / overlay rw 0 0\n"
      "/dev/sda2 /home ext4 rw,relatime 0 0\n"
      "/dev/sda3 /boot ext4 rw 0 0\n";
  EXPECT_EQ(DriveTextsOfTable(mounts),
            (std::vector<std::u16string>{u"/ [overlay]", u"/boot [sda3]", u"/home [sda2]", u"/media/USB Stick [sdb1]",
                                         u"/mnt/a\tb\\c [sdc1]", u"/tmp [tmpfs]"}));
}

TEST(MountTable, FallsBackToTheRootWithoutDevice) {
  EXPECT_EQ(DriveTextsOfTable(""), std::vector<std::u16string>{u"/ []"});
  EXPECT_EQ(DriveTextsOfTable("proc /proc proc rw 0 0\n/dev/vdb /data xfs rw 0 0\n"),
            (std::vector<std::u16string>{u"/ []", u"/data [vdb]"}));
  EXPECT_TRUE(ReadMountTable("/nonexistent/mounts").empty());
}

}  // namespace
}  // namespace velmora
