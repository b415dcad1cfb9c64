// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one window as the logic reaches it: its controls by name, the services,
// the events the platform raises, and the platform that builds it all.

#include <algorithm>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/controls.h"
#include "platform/file_system.h"
#include "platform/framing_dialog.h"
#include "platform/picture_reader.h"
#include "platform/services.h"

namespace velmora {

// A tooltip: its text and, beside it, a picture shown at its own size.
struct ToolTip {
  std::u16string text;  // "" with no picture: no tooltip
  std::string picture;  // a PNG file; "" for none
  friend bool operator==(const ToolTip&, const ToolTip&) = default;
};

// Everything the window logic may touch, named as in the window.
struct Form {
  Window& frmBase64;
  TextBox& txt;
  CommandButton& cmdLoad;
  CommandButton& cmdSave;
  CommandButton& cmdPaste;
  CommandButton& cmdSavePic;
  CommandButton& Command1;
  Label& Label1;
  PictureBox& Picture1;
  FileList& lstFile;
  DirList& lstDir;
  DriveList& lstDrive;
  SaveDialog& CommonDialog1;

  Application& App;
  velmora::Clipboard& Clipboard;
  MessageBoxes& Messages;
  EventPump& Events;
  FileSystem& Files;
  PictureLibrary& Pictures;
  PictureReader& PictureFiles;
  FramingDialog& Framing;
};

// The handlers of the window. The platform calls them on the user-interface
// thread, one at a time, nested where a write raises an event.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Form_Load() = 0;
  virtual void Command1_Click() = 0;
  virtual void txt_GotFocus() = 0;
  virtual void txt_Change() = 0;
  virtual void cmdLoad_Click() = 0;
  virtual void cmdSave_Click() = 0;
  virtual void cmdPaste_Click() = 0;
  virtual void cmdSavePic_Click() = 0;
  virtual void lstFile_Click() = 0;
  virtual void lstDir_Change() = 0;
  virtual void lstDrive_Change() = 0;

  // The file list's context menu entries, chosen on the entry at that position.
  virtual void lstFile_FitIntoFace(int index) = 0;
  virtual void lstFile_FrameIntoFace(int index) = 0;
  virtual void lstFile_CopyXFaceHeader(int index) = 0;
  // The code box's context menu entries.
  virtual void txt_CopyHeader() = 0;
  virtual void txt_CopyFoldedHeader() = 0;
  virtual void txt_CopyXFaceHeader() = 0;
  virtual void txt_PasteXFace() = 0;
  virtual void txt_PasteClipboardPicture() = 0;
  virtual void txt_FrameClipboardPicture() = 0;
  // Asked as the code box's context menu opens: false greys the entries that
  // need a PNG code in the box, and the one that needs a picture on the
  // clipboard.
  virtual bool txt_CopyHeaderAvailable() = 0;
  virtual bool txt_ClipboardPictureAvailable() = 0;
  // A picture file dropped onto the window (see DroppablePicture): a PNG
  // file opens in the lists, any other picture in "Ausschnitt wählen".
  virtual void Form_DropFile(const std::u16string& path) = 0;
  // Asked as Label1's tooltip is about to show; an empty one shows none.
  virtual ToolTip Label1_ToolTip() = 0;
};

// The control table: kind, caption, place and size in twips, tab order,
// initial state and the texts that assistive technology reads out for every
// control. The window logic owns the data; the platform builds the controls
// from it.
enum class ControlKind {
  kDriveList,
  kCommandButton,
  kFolderList,
  kTextBox,
  kFileList,
  kFrame,
  kPictureBox,
  kLabel,
  kSaveDialog,
};

inline constexpr int kNoTabStop = -1;
inline constexpr OleColor kDefaultColor = 0x80000008;  // the window text colour

struct ControlEntry {
  std::string_view name;
  ControlKind kind;
  std::u16string_view caption;  // the file list's pattern for kFileList
  int left;
  int top;
  int width;
  int height;
  int tabIndex;
  bool visible;
  bool enabled;
  OleColor foreColor;
  // Empty where the control's own text serves: a label is read out as what it
  // shows.
  std::u16string_view accessibleName;
  std::u16string_view accessibleDescription;
};

// What a context menu entry raises: a file list entry acts on the list's
// entry at that position, a code box entry on the box.
using ListEntryCommand = void (FormEvents::*)(int index);
using ControlCommand = void (FormEvents::*)();
using MenuEntryAvailability = bool (FormEvents::*)();

// An entry the window adds to a control's context menu, after the toolkit's
// own entries and in table order. A file list entry acts on the entry under
// the pointer, or on the current entry when the menu opens from the keyboard.
// An entry with an availability query is greyed while it answers false.
struct ContextMenuEntry {
  std::string_view control;
  std::u16string_view caption;
  std::variant<ListEntryCommand, ControlCommand> command;
  MenuEntryAvailability available = nullptr;
};

struct WindowTable {
  std::u16string_view caption;
  int clientWidth;   // twips
  int clientHeight;  // twips
  int twipsPerPixel;
  std::span<const ControlEntry> controls;
  std::span<const ContextMenuEntry> contextMenus;
};

// The control's context menu entries in table order; none when it has none.
[[nodiscard]] inline std::vector<ContextMenuEntry> ContextMenuEntries(const WindowTable& table,
                                                                      std::string_view control) {
  std::vector<ContextMenuEntry> entries;
  std::ranges::copy_if(table.contextMenus, std::back_inserter(entries),
                       [control](const ContextMenuEntry& entry) { return entry.control == control; });
  return entries;
}

class Platform {
 public:
  virtual ~Platform() = default;
  [[nodiscard]] virtual Form& form() = 0;
  // Routes the controls' events to the handlers, raises Load, then shows the
  // window. An error that escapes a handler is shown in a warning box and the
  // program goes on.
  virtual void Start(FormEvents& handlers) = 0;
};

}  // namespace velmora
