// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drive, folder and file lists. All three mirror one BrowserState into
// their widgets and raise the events its answers call for.

#include <QComboBox>
#include <QListWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser_state.h"
#include "platform/controls.h"
#include "platform/event_router.h"
#include "platform/qt/context_menus.h"
#include "platform/qt/qt_control.h"

namespace velmora {

class QtDriveList final : public DriveList, public QtControl {
 public:
  QtDriveList(QComboBox& combo, BrowserState& state, const EventRouter& events);
  [[nodiscard]] std::u16string Drive() const override { return state_.DriveText(); }
  void SetDrive(const std::u16string& driveOrPath) override;

 private:
  void ShowSelectedDrive();

  QComboBox& combo_;
  BrowserState& state_;
  const EventRouter& events_;
};

// The folder's ancestors, the folder and its subfolders, indented by depth.
// The user opens an entry with a double click or Enter.
class QtDirList final : public DirList, public QtControl {
 public:
  QtDirList(QListWidget& list, BrowserState& state, const EventRouter& events);
  [[nodiscard]] std::u16string Path() const override { return state_.folder(); }
  void SetPath(const std::u16string& pathOrDrive) override;
  void SetEnabled(bool enabled) override { list_.setEnabled(enabled); }

 private:
  // The user opening a folder (double click or Enter).
  void Open(const std::u16string& folder);
  void ShowEntries();

  QListWidget& list_;
  BrowserState& state_;
  const EventRouter& events_;
};

// A list in which every left click on an entry counts, on the selected one
// too, and a click never empties the selection: neither one on empty space
// nor one with Ctrl held. Other buttons leave the selection as it is.
class FileListWidget final : public QListWidget {
 public:
  // Runs after each left click on an entry, the entry selected.
  void SetEntryClickHandler(std::function<void(int row)> handler) { onEntryClick_ = std::move(handler); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::function<void(int row)> onEntryClick_;
};

// Every click on an entry and every move of the selection with the keyboard
// raise Click; nothing the logic does raises it. With menu entries, an
// entry's context menu offers them, for that entry, without selecting it; from
// the keyboard, for the current entry, at its place.
class QtFileList final : public FileList, public QtControl {
 public:
  QtFileList(FileListWidget& list, BrowserState& state, const EventRouter& events,
             std::vector<ContextMenuEntry> menu);
  [[nodiscard]] std::u16string Path() const override { return state_.fileFolder(); }
  void SetPath(const std::u16string& folder) override;
  [[nodiscard]] std::u16string FileName() const override { return state_.SelectedFileName(); }
  [[nodiscard]] int ListIndex() const override { return state_.selectedFile(); }
  [[nodiscard]] int ListCount() const override { return static_cast<int>(state_.files().size()); }
  [[nodiscard]] std::u16string List(int index) const override;
  void SetSelected(int index, bool selected) override;
  void RestorePreviousSelection() override;
  void Refresh() override;

 private:
  void OnEntryClick(int row);
  // A change of the widget's selection that no click made: the keyboard.
  void OnSelectionChange();
  // `pointer` in the viewport's coordinates; none from the keyboard.
  void ShowContextMenu(std::optional<QPoint> pointer);
  void ShowFiles();
  void ShowSelection();

  FileListWidget& list_;
  BrowserState& state_;
  const EventRouter& events_;
  std::vector<ContextMenuEntry> menu_;
  std::optional<ContextMenuRequests> menuRequests_;
};

}  // namespace velmora
