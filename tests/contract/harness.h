// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One platform under the contract suite: its Form, and the user's actions
// that only a real or simulated user can take.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser_state.h"
#include "platform/form.h"
#include "platform/headless/headless_platform.h"
#include "tests/contract/test_disk.h"

namespace velmora::contract {

// The window's context menu entries the contract drives, one of each menu.
inline constexpr std::u16string_view kFileEntryMenuCaption = u"Als Face anpassen";
inline constexpr std::u16string_view kCodeMenuCaption = u"Als Face-Header kopieren";

class Harness {
 public:
  virtual ~Harness() = default;
  [[nodiscard]] virtual Form& form() = 0;
  virtual void Start(FormEvents& handlers) = 0;
  // The user clicking a file list entry with the mouse, Ctrl held or not.
  virtual void ClickFileEntry(int row, bool withCtrl = false) = 0;
  // The user clicking the file list's empty space below its entries.
  virtual void ClickBelowFileEntries() = 0;
  // The user moving the file list's selection down with the arrow key.
  virtual void PressDownInFileList() = 0;
  // The keyboard focus moving into the code box from the file list (Tab).
  virtual void TabIntoCode() = 0;
  // The focus leaving the code box and coming back to it without another
  // control of the window taking it in between.
  virtual void ReturnFocusToCode(headless::FocusArrival arrival) = 0;
  // The user pressing Return (or the keypad's Enter) on the focused button.
  virtual void PressReturnOn(std::string_view button, bool keypadEnter) = 0;
  // The user typing text at the end of the code box.
  virtual void TypeIntoCode(const std::u16string& text) = 0;
  // The next Save dialog will be cancelled by the user.
  virtual void CancelNextSaveDialog() = 0;
  // The user choosing the window's kFileEntryMenuCaption in the context menu
  // of the file list's entry at that row.
  virtual void ChooseFileEntryMenu(int row) = 0;
  // Whether the window's kCodeMenuCaption in the code box's context menu is
  // enabled when the menu opens.
  virtual bool CodeMenuEntryEnabled() = 0;
  // The user trying to choose that entry; a greyed one does nothing.
  virtual void ChooseCodeMenuEntry() = 0;
  // The user dropping files onto the window, over the file list; whether the
  // pointer took them.
  virtual bool DropFiles(const std::vector<std::u16string>& paths) = 0;
  // The user dropping text onto the empty code box.
  virtual void DropTextOntoCode(const std::u16string& text) = 0;
  // The tooltip shown while the pointer rests on the report label, its text
  // with CR LF line breaks; empty for none.
  virtual ToolTip ReportToolTip() = 0;
  // Another program copying a PNG file to the clipboard as a picture.
  virtual void CopyPictureElsewhere(const std::string& png) = 0;
  // Another program copying text to the clipboard, line breaks as they are.
  virtual void CopyTextElsewhere(const std::u16string& text) = 0;
  // The clipboard's text as another program pastes it.
  virtual std::u16string TextPastedElsewhere() = 0;
};

struct HarnessSetup {
  std::vector<Volume> volumes;
  std::u16string workingFolder;
  // What the headless platform reads; the Qt one reads the real disk.
  FileSystem& disk;
};

using HarnessFactory = std::unique_ptr<Harness> (*)(const HarnessSetup& setup);

// A platform under the contract and the disk it runs on.
struct PlatformUnderTest {
  DiskMaker makeDisk;
  HarnessFactory makeHarness;
};

}  // namespace velmora::contract
