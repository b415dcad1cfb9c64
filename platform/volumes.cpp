// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/volumes.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include "platform/paths.h"

namespace velmora {
namespace {

bool IsPseudoFileSystem(std::string_view type) {
  static constexpr std::array<std::string_view, 20> kPseudoTypes = {
      "proc",       "sysfs",   "cgroup",      "cgroup2",  "devtmpfs", "devpts",    "mqueue",
      "securityfs", "debugfs", "tracefs",     "pstore",   "bpf",      "configfs",  "fusectl",
      "hugetlbfs",  "autofs",  "binfmt_misc", "efivarfs", "nsfs",     "rpc_pipefs"};
  return std::ranges::find(kPseudoTypes, type) != kPseudoTypes.end();
}

bool LiesOnSystemFolder(std::u16string_view mountPoint) {
  static constexpr std::array<std::u16string_view, 4> kSystemFolders = {u"/run", u"/dev", u"/sys", u"/proc"};
  return std::ranges::any_of(kSystemFolders, [mountPoint](std::u16string_view folder) { return LiesOn(mountPoint, folder); });
}

bool HoldsRealFiles(const MountEntry& entry) {
  if (!entry.mountPoint.starts_with(u'/') || IsPseudoFileSystem(entry.type)) return false;
  if (entry.type == "tmpfs") return !LiesOnSystemFolder(entry.mountPoint);
  if (entry.type == "squashfs") return !LiesOn(entry.mountPoint, u"/snap");
  return true;
}

}  // namespace

std::vector<Volume> RealVolumes(std::span<const MountEntry> mounts) {
  // Keyed by mount point: a later mount on the same point hides the earlier
  // one, and as every mount point starts with "/", the root sorts first.
  std::map<std::u16string, std::u16string> devices;
  for (const MountEntry& entry : mounts) {
    if (HoldsRealFiles(entry)) devices[entry.mountPoint] = entry.device;
  }
  devices.try_emplace(u"/");
  std::vector<Volume> volumes;
  for (auto& [mountPoint, device] : devices) volumes.push_back(Volume{mountPoint, device});
  return volumes;
}

std::u16string DriveTextOf(const Volume& volume) {
  const std::u16string_view device = volume.device;
  const std::u16string_view deviceName = device.substr(device.find_last_of(u'/') + 1);
  return volume.mountPoint + u" [" + std::u16string(deviceName) + u"]";
}

}  // namespace velmora
