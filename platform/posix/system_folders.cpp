// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/system_folders.h"

#include <mntent.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/text.h"

namespace velmora {

std::vector<MountEntry> ReadMountTable(const std::string& file) {
  const std::unique_ptr<FILE, int (*)(FILE*)> table(::setmntent(file.c_str(), "r"), ::endmntent);
  std::vector<MountEntry> mounts;
  if (!table) return mounts;
  while (const mntent* entry = ::getmntent(table.get())) {
    mounts.push_back({FromNativeName(entry->mnt_fsname), FromNativeName(entry->mnt_dir), entry->mnt_type});
  }
  return mounts;
}

std::vector<Volume> SystemVolumes() { return RealVolumes(ReadMountTable("/proc/self/mounts")); }

std::u16string WorkingFolder() {
  std::string buffer(PATH_MAX, '\0');
  if (::getcwd(buffer.data(), buffer.size()) != nullptr) return FromNativeName(buffer.c_str());
  // The working folder has been deleted: the shell still knows where it was.
  const char* remembered = std::getenv("PWD");
  return remembered != nullptr && remembered[0] == '/' ? FromNativeName(remembered) : u"/";
}

}  // namespace velmora
