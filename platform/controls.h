// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of the one window, as the window logic sees them. Each is a
// small interface of plain types; platform/qt and platform/headless implement
// them with the same contract.
//
// Event contract shared by every implementation:
// - A write that raises an event (TextBox::SetText, DirList::SetPath,
//   DriveList::SetDrive) runs that event's handler before it returns; writes
//   inside a handler nest further handlers.
// - Writing the text, folder or drive a control already holds raises nothing.
// - Programmatic selection changes of the file list raise no Click. Every
//   mouse click on an entry raises Click, on the selected entry too, and so
//   does each move of the selection with the keyboard; a click on empty
//   space, or Ctrl and a click, never empties the selection.

#include <cstdint>
#include <string>

namespace velmora {

// OLE colour: 0x00BBGGRR for a plain colour, 0x800000nn for system colour nn.
using OleColor = std::uint32_t;
inline constexpr OleColor kColorRed = 255;
inline constexpr OleColor kColorButtonText = 0x80000012;

// Line breaks in text boxes, labels and message prompts.
inline constexpr char16_t kLineBreak[] = u"\r\n";

enum class MousePointer { kDefault = 0, kHourglass = 11 };

class Window {
 public:
  virtual ~Window() = default;
  [[nodiscard]] virtual std::u16string Caption() const = 0;
  virtual void SetCaption(const std::u16string& caption) = 0;
  // The hourglass shows over the whole window at once.
  virtual void SetMousePointer(MousePointer pointer) = 0;
  // Closes the window; the program ends once the running handler returns.
  virtual void Unload() = 0;
};

// Multi-line text box. Line breaks are CR LF as the logic sees them; a text
// the logic writes reads back exactly, lone CR or LF included.
class TextBox {
 public:
  virtual ~TextBox() = default;
  [[nodiscard]] virtual std::u16string Text() const = 0;
  // Raises Change, nested, only when the text differs from the current one.
  virtual void SetText(const std::u16string& text) = 0;
  // A string kept with the control and never shown; reads back exactly.
  [[nodiscard]] virtual std::u16string Tag() const = 0;
  virtual void SetTag(const std::u16string& tag) = 0;
  virtual void SetSelStart(int start) = 0;
  virtual void SetSelLength(int length) = 0;
};

class CommandButton {
 public:
  virtual ~CommandButton() = default;
  [[nodiscard]] virtual bool Enabled() const = 0;
  // False greys the button and stops its Click.
  virtual void SetEnabled(bool enabled) = 0;
};

// Text drawn centred, broken at CR LF, wrapped at word boundaries.
class Label {
 public:
  virtual ~Label() = default;
  [[nodiscard]] virtual std::u16string Caption() const = 0;
  virtual void SetCaption(const std::u16string& caption) = 0;
  // Reads back exactly the value last written.
  [[nodiscard]] virtual OleColor ForeColor() const = 0;
  virtual void SetForeColor(OleColor color) = 0;
};

// What a picture box hands the picture library to draw on: its persistent
// image. Each platform's library knows its own platform's kind.
class DeviceContext {
 public:
  virtual ~DeviceContext() = default;
};

class PictureBox {
 public:
  virtual ~PictureBox() = default;
  // Picture = the empty picture: clears the box and its persistent image and
  // schedules a repaint.
  virtual void ClearPicture() = 0;
  // True keeps what is drawn into the persistent image and repaints it.
  virtual void SetAutoRedraw(bool autoRedraw) = 0;
  // 0 = no border.
  virtual void SetBorderStyle(int style) = 0;
  // The persistent image to draw on (the box's hDC).
  [[nodiscard]] virtual DeviceContext& hDC() = 0;
  // Pixels to twips, horizontally and vertically, at the display's factor.
  [[nodiscard]] virtual float ScaleX(float pixels) const = 0;
  [[nodiscard]] virtual float ScaleY(float pixels) const = 0;
  virtual void SetFocus() = 0;
};

// The files of one folder that match "*.png" (case-insensitively, hidden
// files left out, sorted case-insensitively); single selection.
class FileList {
 public:
  virtual ~FileList() = default;
  // The folder; it ends in a separator only at "/".
  [[nodiscard]] virtual std::u16string Path() const = 0;
  // Lists that folder's files with no entry selected. Raises for a folder
  // that cannot be listed.
  virtual void SetPath(const std::u16string& folder) = 0;
  // The selected entry's name without folder, "" when none.
  [[nodiscard]] virtual std::u16string FileName() const = 0;
  // The selected entry's position, -1 when none.
  [[nodiscard]] virtual int ListIndex() const = 0;
  [[nodiscard]] virtual int ListCount() const = 0;
  // The name of the entry at that position, "" outside the list.
  [[nodiscard]] virtual std::u16string List(int index) const = 0;
  // Selected(index) = false leaves no entry selected; raises no Click.
  virtual void SetSelected(int index, bool selected) = 0;
  // Selects again the entry that was selected before the selection last
  // changed (by the user or by SetSelected), or none when that entry is no
  // longer listed; raises no Click. A Click handler that cannot use the
  // entry the user chose puts the list back so.
  virtual void RestorePreviousSelection() = 0;
  // Reads the folder again; a selected entry that still exists stays selected.
  virtual void Refresh() = 0;
};

class DirList {
 public:
  virtual ~DirList() = default;
  // The folder shown; it ends in a separator only at "/".
  [[nodiscard]] virtual std::u16string Path() const = 0;
  // Shows that folder, or for a drive text (as DriveList::Drive gives it) that
  // drive's current folder. Raises Change when the shown folder changes.
  // Raises 71 when the drive cannot be listed, and the mapped error for a
  // folder that cannot be listed.
  virtual void SetPath(const std::u16string& pathOrDrive) = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

class DriveList {
 public:
  virtual ~DriveList() = default;
  // The selected drive's text.
  [[nodiscard]] virtual std::u16string Drive() const = 0;
  // Selects the drive named by a drive text, or the drive that holds a path;
  // raises Change when the selected drive changes.
  virtual void SetDrive(const std::u16string& driveOrPath) = 0;
};

// The common Save dialog, set up property by property and shown modally.
class SaveDialog {
 public:
  virtual ~SaveDialog() = default;
  virtual void SetCancelError(bool cancelError) = 0;
  // kDialogOverwritePrompt asks before an existing file is replaced.
  virtual void SetFlags(int flags) = 0;
  virtual void SetDialogTitle(const std::u16string& title) = 0;
  // Pairs of description and pattern separated by "|".
  virtual void SetFilter(const std::u16string& filter) = 0;
  [[nodiscard]] virtual std::u16string FileName() const = 0;
  // A name with a folder opens the dialog in that folder.
  virtual void SetFileName(const std::u16string& fileName) = 0;
  // Returns when the dialog closes; on OK FileName holds the full path chosen.
  // On Cancel with CancelError set, raises 32755 and leaves FileName alone.
  virtual void ShowSave() = 0;
};

inline constexpr int kDialogOverwritePrompt = 2;

}  // namespace velmora
