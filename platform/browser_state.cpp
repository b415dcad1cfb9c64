#include "platform/browser_state.h"

#include <dirent.h>
#include <strings.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <compare>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <ranges>
#include <sstream>
#include <utility>

#include "platform/error.h"
#include "platform/posix_file_system.h"
#include "platform/text.h"

namespace velmora {
namespace {

// Whether a path is the folder itself or lies below it; "/homework" does not
// lie on "/home".
template <typename Char>
bool LiesOn(std::basic_string_view<Char> path, std::basic_string_view<Char> folder) {
  if (!path.starts_with(folder)) return false;
  return path.size() == folder.size() || folder.ends_with(Char('/')) || path[folder.size()] == Char('/');
}

struct MountEntry {
  std::string device;
  std::string mountPoint;
  std::string type;
};

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

// The mount table writes space, tab, newline and backslash as "\ooo".
std::string WithEscapesDecoded(std::string_view field) {
  std::string decoded;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const bool escape = field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
                        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3]);
    if (!escape) {
      decoded.push_back(field[i]);
      continue;
    }
    decoded.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
    i += 3;
  }
  return decoded;
}

std::optional<MountEntry> ParseMountLine(const std::string& line) {
  std::istringstream fields(line);
  MountEntry entry;
  if (!(fields >> entry.device >> entry.mountPoint >> entry.type)) return std::nullopt;
  entry.device = WithEscapesDecoded(entry.device);
  entry.mountPoint = WithEscapesDecoded(entry.mountPoint);
  return entry;
}

bool IsPseudoFileSystem(std::string_view type) {
  static constexpr std::array<std::string_view, 20> kPseudoTypes = {
      "proc",       "sysfs",   "cgroup",      "cgroup2",  "devtmpfs", "devpts",    "mqueue",
      "securityfs", "debugfs", "tracefs",     "pstore",   "bpf",      "configfs",  "fusectl",
      "hugetlbfs",  "autofs",  "binfmt_misc", "efivarfs", "nsfs",     "rpc_pipefs"};
  return std::ranges::find(kPseudoTypes, type) != kPseudoTypes.end();
}

bool LiesOnSystemFolder(std::string_view mountPoint) {
  static constexpr std::array<std::string_view, 4> kSystemFolders = {"/run", "/dev", "/sys", "/proc"};
  return std::ranges::any_of(kSystemFolders,
                             [mountPoint](std::string_view folder) { return LiesOn<char>(mountPoint, folder); });
}

bool HoldsRealFiles(const MountEntry& entry) {
  if (!entry.mountPoint.starts_with('/') || IsPseudoFileSystem(entry.type)) return false;
  if (entry.type == "tmpfs") return !LiesOnSystemFolder(entry.mountPoint);
  if (entry.type == "squashfs") return !LiesOn<char>(entry.mountPoint, "/snap");
  return true;
}

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

std::vector<std::u16string> SortedForList(const std::vector<std::string>& nativeNames) {
  std::vector<std::u16string> names;
  for (const std::string& name : nativeNames) names.push_back(FromNativeName(name));
  std::ranges::sort(names, ComesFirstInList);
  return names;
}

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

using FolderHandle = std::unique_ptr<DIR, int (*)(DIR*)>;

FolderHandle OpenFolder(const std::string& nativeFolder) { return {::opendir(nativeFolder.c_str()), ::closedir}; }

bool CanList(const std::u16string& folder) { return OpenFolder(NativePath(folder)) != nullptr; }

// The folder above; "/" stays "/".
std::u16string FolderAbove(const std::u16string& folder) {
  const std::size_t slash = folder.find_last_of(u'/');
  return slash == 0 || slash == std::u16string::npos ? u"/" : folder.substr(0, slash);
}

// The folder itself when it can be listed, else the nearest one above it
// that can, but none above `top`.
std::optional<std::u16string> NearestListableFolder(std::u16string folder, std::u16string_view top) {
  while (!CanList(folder)) {
    if (folder.size() <= top.size()) return std::nullopt;
    folder = FolderAbove(folder);
  }
  return folder;
}

// A missing folder is "path not found" even when its parent exists.
FolderHandle OpenFolderOrRaise(const std::string& nativeFolder) {
  FolderHandle folder = OpenFolder(nativeFolder);
  if (!folder) {
    if (errno == ENOENT) throw Error(kErrPathNotFound);
    RaiseFileError(errno, nativeFolder);
  }
  return folder;
}

std::string JoinNative(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

std::vector<std::string> VisibleNames(DIR* folder) {
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  }
  return names;
}

// Links count as what they point to.
bool HasFileType(const std::string& nativePath, mode_t type) {
  struct stat info {};
  return ::stat(nativePath.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

bool IsPngName(const std::string& name) {
  constexpr std::size_t kExtensionLength = 4;
  return name.size() >= kExtensionLength && ::strcasecmp(name.c_str() + name.size() - kExtensionLength, ".png") == 0;
}

// An unreadable folder simply has no subfolders to show.
std::vector<std::u16string> Subfolders(const std::string& nativeFolder) {
  const FolderHandle folder = OpenFolder(nativeFolder);
  if (!folder) return {};
  std::vector<std::string> names = VisibleNames(folder.get());
  std::erase_if(names, [&](const std::string& name) { return !HasFileType(JoinNative(nativeFolder, name), S_IFDIR); });
  return SortedForList(names);
}

bool IsListedFile(const std::string& nativeFolder, const std::string& name) {
  return !name.starts_with('.') && IsPngName(name) && HasFileType(JoinNative(nativeFolder, name), S_IFREG);
}

std::vector<std::u16string> PngFiles(const std::u16string& folder) {
  const std::string nativeFolder = NativePath(folder);
  std::vector<std::string> names = VisibleNames(OpenFolderOrRaise(nativeFolder).get());
  std::erase_if(names, [&](const std::string& name) { return !IsListedFile(nativeFolder, name); });
  return SortedForList(names);
}

}  // namespace

std::optional<std::u16string> DroppablePicture(std::span<const std::u16string> paths) {
  if (paths.size() != 1) return std::nullopt;
  const std::u16string& path = paths.front();
  if (!path.starts_with(u'/') || path.find(u'\0') != std::u16string::npos) return std::nullopt;
  const std::string native = NativePath(path);
  if (!IsListedFile(ParentFolder(native), native.substr(native.find_last_of('/') + 1))) return std::nullopt;
  return path;
}

std::u16string KeepingProposedBytes(std::u16string_view proposed, std::u16string_view chosen) {
  if (chosen == ShownName(proposed)) return std::u16string(proposed);
  const std::u16string_view folder = proposed.substr(0, proposed.find_last_of(u'/') + 1);
  if (!folder.empty() && chosen.starts_with(ShownName(folder))) {
    return std::u16string(folder).append(chosen.substr(folder.size()));
  }
  return std::u16string(chosen);
}

std::vector<Volume> ParseMountTable(std::string_view mounts) {
  // Keyed by mount point: a later mount on the same point hides the earlier
  // one, and as every mount point starts with "/", the root sorts first.
  std::map<std::u16string, std::u16string> devices;
  std::istringstream lines{std::string(mounts)};
  for (std::string line; std::getline(lines, line);) {
    const auto entry = ParseMountLine(line);
    if (entry && HoldsRealFiles(*entry)) devices[FromNativeName(entry->mountPoint)] = FromNativeName(entry->device);
  }
  devices.try_emplace(u"/");
  std::vector<Volume> volumes;
  for (auto& [mountPoint, device] : devices) volumes.push_back(Volume{mountPoint, device});
  return volumes;
}

std::vector<Volume> SystemVolumes() {
  std::ifstream file("/proc/self/mounts");
  const std::string mounts{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return ParseMountTable(mounts);
}

std::u16string DriveTextOf(const Volume& volume) {
  const std::u16string_view device = volume.device;
  const std::u16string_view deviceName = device.substr(device.find_last_of(u'/') + 1);
  return volume.mountPoint + u" [" + std::u16string(deviceName) + u"]";
}

std::u16string WorkingFolder() {
  std::string buffer(PATH_MAX, '\0');
  if (::getcwd(buffer.data(), buffer.size()) != nullptr) return FromNativeName(buffer.c_str());
  // The working folder has been deleted: the shell still knows where it was.
  const char* remembered = std::getenv("PWD");
  return remembered != nullptr && remembered[0] == '/' ? FromNativeName(remembered) : u"/";
}

std::u16string NormalizeFolder(std::u16string_view path) {
  const std::u16string absolute = path.starts_with(u'/') ? std::u16string(path) : JoinPath(WorkingFolder(), path);
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

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  if (!path.ends_with(u'/')) path += u'/';
  return path.append(name);
}

BrowserState::BrowserState(std::vector<Volume> volumes, std::u16string_view workingFolder)
    : volumes_(std::move(volumes)),
      folder_(NearestListableFolder(NormalizeFolder(workingFolder), u"/").value_or(u"/")) {
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
  const std::size_t selected = drive ? *drive : DriveIndexOfPath(NormalizeFolder(driveOrPath));
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
  for (std::u16string& name : Subfolders(NativePath(folder_))) {
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
    folder = NormalizeFolder(pathOrDrive);
    OpenFolderOrRaise(NativePath(folder));
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
  return ShowFolder(NearestListableFolder(FolderAbove(NormalizeFolder(path)), u"/").value_or(u"/"));
}

std::u16string BrowserState::SelectedFileName() const {
  return selectedFile_ < 0 ? u"" : files_[static_cast<std::size_t>(selectedFile_)];
}

void BrowserState::ShowFiles(std::u16string_view folder) {
  std::u16string normalized = NormalizeFolder(folder);
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
