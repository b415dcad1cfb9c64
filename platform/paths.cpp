// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace velmora {
// A plain loop: clang 14, which builds the fuzz targets, cannot compile
// std::views::split over libstdc++ 12.
std::vector<std::u16string_view> PartsOf(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t end = std::min(path.find(u'/', start), path.size());
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool LiesOn(std::u16string_view path, std::u16string_view folder) {
  if (!path.starts_with(folder)) return false;
  return path.size() == folder.size() || folder.ends_with(u'/') || path[folder.size()] == u'/';
}

std::u16string NormalizeFolder(std::u16string_view path, std::u16string_view workingFolder) {
  const std::u16string absolute = path.starts_with(u'/') ? std::u16string(path) : JoinPath(workingFolder, path);
  std::vector<std::u16string_view> parts;
  for (const std::u16string_view part : PartsOf(absolute)) {
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != u".") {
      parts.push_back(part);
    }
  }
  if (parts.empty()) return u"/";
  std::u16string folder;
  for (const std::u16string_view part : parts) folder.append(u"/").append(part);
  return folder;
}

std::u16string FolderAbove(std::u16string_view folder) {
  const std::size_t slash = folder.find_last_of(u'/');
  return slash == 0 || slash == std::u16string_view::npos ? u"/" : std::u16string(folder.substr(0, slash));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  if (!path.ends_with(u'/')) path += u'/';
  return path.append(name);
}

std::u16string KeepingProposedBytes(std::u16string_view proposed, std::u16string_view chosen) {
  if (chosen == ShownName(proposed)) return std::u16string(proposed);
  const std::u16string_view folder = proposed.substr(0, proposed.find_last_of(u'/') + 1);
  if (!folder.empty() && chosen.starts_with(ShownName(folder))) {
    return std::u16string(folder).append(chosen.substr(folder.size()));
  }
  return std::u16string(chosen);
}

}  // namespace velmora
