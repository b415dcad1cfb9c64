// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state behind the drive list, the folder list and the file list, shared
// by every platform so that the lists behave alike everywhere. The adapters
// only mirror it into widgets and raise the events its answers call for; the
// folders are read through the platform's FileSystem.
//
// The drives are the volumes the platform names (see RealVolumes). The drive
// of a path is the volume whose mount point is the longest prefix of it. A
// drive's current folder is the folder last shown on it in this run; at first
// the working folder when it lies on that volume, else its mount point.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/volumes.h"

namespace velmora {

// Whether the name ends in ".png", in any case: the files the file list
// shows.
[[nodiscard]] bool IsPngName(std::u16string_view name);
// Whether the name ends in the extension of a photo format that is framed
// rather than listed: JPEG, WebP, BMP and GIF.
[[nodiscard]] bool IsPhotoName(std::u16string_view name);

// The picture that a drop onto the window opens: the one path of the drop
// when it is absolute and names a file the file list shows (see ShowFiles)
// or a photo (IsPhotoName); none for anything else, several files included.
[[nodiscard]] std::optional<std::u16string> DroppablePicture(FileSystem& files, std::span<const std::u16string> paths);

// One line of the folder list: the folder's ancestors from "/" down, the
// folder itself (expanded), then its subfolders (hidden ones left out),
// sorted case-insensitively.
struct FolderEntry {
  std::u16string label;  // the last path part; "/" for the root
  std::u16string path;   // the full folder path to open
  int depth;             // indentation level; the root is 0
  bool isCurrent;
};

class BrowserState {
 public:
  // Starts on the volume that holds the working folder, showing in both
  // lists that folder or, when it cannot be listed (it vanished, access is
  // denied), the nearest folder above it that can; in the end "/". Never
  // raises.
  BrowserState(FileSystem& files, std::vector<Volume> volumes, std::u16string_view workingFolder);

  // Drive list.
  [[nodiscard]] const std::vector<Volume>& volumes() const { return volumes_; }
  [[nodiscard]] std::size_t selectedDrive() const { return selectedDrive_; }
  [[nodiscard]] std::u16string DriveText() const;
  // Selects the drive named by a drive text or holding a path. Returns true
  // when the selection changed.
  bool SelectDrive(std::u16string_view driveOrPath);

  // Folder list.
  [[nodiscard]] const std::u16string& folder() const { return folder_; }
  [[nodiscard]] std::vector<FolderEntry> FolderEntries() const;
  // Shows a folder, or a drive text's current folder. Returns true when the
  // shown folder changed. A drive's current folder that can no longer be
  // listed gives way to the nearest one above it on that volume; raises 71
  // when not even the mount point can be listed. Raises the mapped error
  // (76 missing, 70 denied, ...) for any other folder.
  bool ShowFolder(std::u16string_view pathOrDrive);
  // The user opening a folder from the folder list. One that has vanished
  // since the list was shown gives way to the nearest folder above it that
  // can be listed. Returns true when the shown folder changed; raises as
  // ShowFolder for any other failure.
  bool OpenListedFolder(std::u16string_view path);

  // File list.
  [[nodiscard]] const std::u16string& fileFolder() const { return fileFolder_; }
  [[nodiscard]] const std::vector<std::u16string>& files() const { return files_; }
  [[nodiscard]] int selectedFile() const { return selectedFile_; }
  [[nodiscard]] std::u16string SelectedFileName() const;
  // Lists a folder's "*.png" files (plain files and links to them, matched
  // case-insensitively, hidden ones left out, sorted case-insensitively) with
  // none selected. Raises the mapped error for a folder that cannot be listed.
  void ShowFiles(std::u16string_view folder);
  // Reads the file folder again, keeping the selected name if it still exists.
  void RefreshFiles();
  // -1 selects nothing. Out-of-range indices select nothing too. The entry
  // selected before is remembered.
  void SelectFile(int index);
  // Selects again the entry selected before the latest SelectFile, or none
  // when it is no longer listed.
  void RestorePreviousFile();

 private:
  [[nodiscard]] std::u16string Normalized(std::u16string_view path) const;
  [[nodiscard]] bool CanList(const std::u16string& folder) const;
  // The folder itself when it can be listed, else the nearest one above it
  // that can, but none above `top`.
  [[nodiscard]] std::optional<std::u16string> NearestListableFolder(std::u16string folder, std::u16string_view top) const;
  [[nodiscard]] std::vector<std::u16string> Subfolders(const std::u16string& folder) const;
  [[nodiscard]] std::vector<std::u16string> PngFiles(const std::u16string& folder) const;
  [[nodiscard]] std::optional<std::size_t> DriveIndexOfText(std::u16string_view text) const;
  [[nodiscard]] std::size_t DriveIndexOfPath(std::u16string_view path) const;
  // The position of the file of that name, -1 when it is not listed.
  [[nodiscard]] int FileIndexOf(std::u16string_view name) const;

  FileSystem& disk_;
  std::u16string workingFolder_;
  std::vector<Volume> volumes_;
  std::vector<std::u16string> currentFolders_;  // per volume
  std::size_t selectedDrive_ = 0;
  std::u16string folder_;
  std::u16string fileFolder_;
  std::vector<std::u16string> files_;
  int selectedFile_ = -1;
  std::u16string previousFileName_;
};

}  // namespace velmora
