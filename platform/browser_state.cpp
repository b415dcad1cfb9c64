// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/browser_state.h"

#include <algorithm>
#include <array>
#include <compare>
#include <utility>

#include "platform/error.h"
#include "platform/paths.h"

namespace velmora {
namespace {

// Folds ASCII and Latin-1 capitals, enough for the names the lists show.
char16_t FoldedCase(char16_t c) {
  const bool asciiCapital = c >= u'A' && c <= u'Z';
  const bool latin1Capital = c >= u'\u00C0' && c <= u'\u00DE' && c != u'\u00D7';
  return asciiCapital || latin1Capital ? static_cast<char16_t>(c + 0x20) : c;
}

// Case-insensitive, then by exact code units so that the order is total.
bool ComesFirstInList(const std::u16string& a, const std::u16string& b) {
  const auto folded = std::lexicographical_compare_three_way(
      a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) { return FoldedCase(x) <=> FoldedCase(y); });
  return folded != 0 ? folded < 0 : a < b;
}

std::vector<std::u16string> SortedForList(std::vector<std::u16string> names) {
  std::ranges::sort(names, ComesFirstInList);
  return names;
}

bool IsHidden(std::u16string_view name) { return name.starts_with(u'.'); }

bool EndsWithExtension(std::u16string_view name, std::u16string_view extension) {
  if (name.size() < extension.size()) return false;
  return std::ranges::equal(name.substr(name.size() - extension.size()), extension,
                            [](char16_t a, char16_t b) { return FoldedCase(a) == b; });
}

bool IsListedFile(std::u16string_view name, EntryType type) {
  return !IsHidden(name) && IsPngName(name) && type == EntryType::kFile;
}

// The names of the folder's entries of which `keep` approves, sorted for a list.
template <class Keep>
std::vector<std::u16string> NamesListed(const std::vector<FolderItem>& items, Keep keep) {
  std::vector<std::u16string> names;
  for (const FolderItem& item : items) {
    if (keep(item)) names.push_back(item.name);
  }
  return SortedForList(std::move(names));
}

}  // namespace

bool IsPngName(std::u16string_view name) { return EndsWithExtension(name, u".png"); }

bool IsPhotoName(std::u16string_view name) {
  constexpr std::array<std::u16string_view, 5> kExtensions = {u".jpg", u".jpeg", u".webp", u".bmp", u".gif"};
  return std::ranges::any_of(kExtensions, [name](std::u16string_view extension) {
    return EndsWithExtension(name, extension);
  });
}

std::optional<std::u16string> DroppablePicture(FileSystem& files, std::span<const std::u16string> paths) {
  if (paths.size() != 1) return std::nullopt;
  const std::u16string& path = paths.front();
  if (!path.starts_with(u'/') || path.find(u'\0') != std::u16string::npos) return std::nullopt;
  const std::u16string_view name = std::u16string_view(path).substr(path.find_last_of(u'/') + 1);
  const EntryType type = files.TypeOf(path);
  if (!IsListedFile(name, type) && !(IsPhotoName(name) && !IsHidden(name) && type == EntryType::kFile)) {
    return std::nullopt;
  }
  return path;
}

BrowserState::BrowserState(FileSystem& files, std::vector<Volume> volumes, std::u16string_view workingFolder)
    : disk_(files),
      workingFolder_(NormalizeFolder(workingFolder, u"/")),
      volumes_(std::move(volumes)),
      folder_(NearestListableFolder(workingFolder_, u"/").value_or(u"/")) {
  for (const Volume& volume : volumes_) currentFolders_.push_back(volume.mountPoint);
  selectedDrive_ = DriveIndexOfPath(folder_);
  currentFolders_[selectedDrive_] = folder_;
  try {
    ShowFiles(folder_);
  } catch (const Error&) {
    // Not even "/" can be listed: the window opens with an empty file list.
    fileFolder_ = folder_;
  }
}

std::u16string BrowserState::DriveText() const { return DriveTextOf(volumes_[selectedDrive_]); }

bool BrowserState::SelectDrive(std::u16string_view driveOrPath) {
  const auto drive = DriveIndexOfText(driveOrPath);
  const std::size_t selected = drive ? *drive : DriveIndexOfPath(Normalized(driveOrPath));
  const bool changed = selected != selectedDrive_;
  selectedDrive_ = selected;
  return changed;
}

std::vector<FolderEntry> BrowserState::FolderEntries() const {
  std::vector<FolderEntry> entries{{u"/", u"/", 0, folder_ == u"/"}};
  std::u16string path;
  for (const std::u16string_view part : PartsOf(folder_)) {
    path.append(u"/").append(part);
    entries.push_back({std::u16string(part), path, static_cast<int>(entries.size()), path == folder_});
  }
  const int subfolderDepth = entries.back().depth + 1;
  for (std::u16string& name : Subfolders(folder_)) {
    std::u16string subfolder = JoinPath(folder_, name);
    entries.push_back({std::move(name), std::move(subfolder), subfolderDepth, false});
  }
  return entries;
}

bool BrowserState::ShowFolder(std::u16string_view pathOrDrive) {
  std::u16string folder;
  if (const auto drive = DriveIndexOfText(pathOrDrive)) {
    // A remembered folder may have vanished since: the nearest one above it
    // on the same volume takes its place.
    const auto listable = NearestListableFolder(currentFolders_[*drive], volumes_[*drive].mountPoint);
    if (!listable) throw Error(kErrDeviceUnavailable);
    folder = currentFolders_[*drive] = *listable;
  } else {
    folder = Normalized(pathOrDrive);
    (void)disk_.ListFolder(folder);  // raises why a folder cannot be shown
    currentFolders_[DriveIndexOfPath(folder)] = folder;
  }
  const bool changed = folder != folder_;
  folder_ = std::move(folder);
  return changed;
}

bool BrowserState::OpenListedFolder(std::u16string_view path) {
  try {
    return ShowFolder(path);
  } catch (const Error& error) {
    if (error.number() != kErrPathNotFound) throw;
  }
  return ShowFolder(NearestListableFolder(FolderAbove(Normalized(path)), u"/").value_or(u"/"));
}

std::u16string BrowserState::SelectedFileName() const {
  return selectedFile_ < 0 ? u"" : files_[static_cast<std::size_t>(selectedFile_)];
}

void BrowserState::ShowFiles(std::u16string_view folder) {
  std::u16string normalized = Normalized(folder);
  files_ = PngFiles(normalized);
  fileFolder_ = std::move(normalized);
  selectedFile_ = -1;
  previousFileName_.clear();
}

void BrowserState::RefreshFiles() {
  const std::u16string selectedName = SelectedFileName();
  files_ = PngFiles(fileFolder_);
  selectedFile_ = FileIndexOf(selectedName);
}

void BrowserState::SelectFile(int index) {
  previousFileName_ = SelectedFileName();
  const bool inRange = index >= 0 && static_cast<std::size_t>(index) < files_.size();
  selectedFile_ = inRange ? index : -1;
}

void BrowserState::RestorePreviousFile() { selectedFile_ = FileIndexOf(previousFileName_); }

std::u16string BrowserState::Normalized(std::u16string_view path) const { return NormalizeFolder(path, workingFolder_); }

bool BrowserState::CanList(const std::u16string& folder) const {
  try {
    (void)disk_.ListFolder(folder);
    return true;
  } catch (const Error&) {
    return false;
  }
}

std::optional<std::u16string> BrowserState::NearestListableFolder(std::u16string folder, std::u16string_view top) const {
  while (!CanList(folder)) {
    if (folder.size() <= top.size()) return std::nullopt;
    folder = FolderAbove(folder);
  }
  return folder;
}

// An unreadable folder simply has no subfolders to show.
std::vector<std::u16string> BrowserState::Subfolders(const std::u16string& folder) const {
  std::vector<FolderItem> items;
  try {
    items = disk_.ListFolder(folder);
  } catch (const Error&) {
    return {};
  }
  return NamesListed(items, [](const FolderItem& item) { return !IsHidden(item.name) && item.type == EntryType::kFolder; });
}

std::vector<std::u16string> BrowserState::PngFiles(const std::u16string& folder) const {
  return NamesListed(disk_.ListFolder(folder), [](const FolderItem& item) { return IsListedFile(item.name, item.type); });
}

int BrowserState::FileIndexOf(std::u16string_view name) const {
  if (name.empty()) return -1;
  const auto found = std::ranges::find(files_, name);
  return found == files_.end() ? -1 : static_cast<int>(found - files_.begin());
}

std::optional<std::size_t> BrowserState::DriveIndexOfText(std::u16string_view text) const {
  for (std::size_t i = 0; i < volumes_.size(); ++i) {
    if (DriveTextOf(volumes_[i]) == text) return i;
  }
  return std::nullopt;
}

std::size_t BrowserState::DriveIndexOfPath(std::u16string_view path) const {
  std::size_t best = 0;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < volumes_.size(); ++i) {
    const std::u16string_view mountPoint = volumes_[i].mountPoint;
    if (mountPoint.size() > bestLength && LiesOn(path, mountPoint)) {
      best = i;
      bestLength = mountPoint.size();
    }
  }
  return best;
}

}  // namespace velmora
