// SPDX-License-Identifier: GPL-3.0-or-later
// The file browser: the drive, folder and file lists, and encoding the file
// the user picks.

#include <cstdint>
#include <utility>

#include "codec/base64.h"
#include "face/face_limits.h"
#include "files/whole_file.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "preview/load_pic_box.h"
#include "preview/number_text.h"
#include "window/frm_base64.h"

namespace velmora {
namespace {

constexpr std::int64_t kLargestByteCountShown = 1023;

bool ShortEnoughForFace(std::int64_t length) { return std::cmp_less(length, face::kRefusedFileBytes); }

std::u16string SizeText(std::int64_t bytes, char16_t decimalSeparator) {
  if (bytes > kLargestByteCountShown) return KilobyteText(bytes, decimalSeparator);
  return DecimalText(bytes) + u" bytes";
}

}  // namespace

std::u16string FrmBase64::ChosenFilePath() const { return JoinPath(f_.lstFile.Path(), f_.lstFile.FileName()); }

void FrmBase64::lstFile_Click() { cmdLoad_Click(); }

void FrmBase64::cmdLoad_Click() {
  if (f_.lstFile.FileName().empty()) return;
  const std::u16string path = ChosenFilePath();
  std::int64_t length = 0;
  std::u16string bytes;
  // A listed file may have vanished or become unreadable since the listing:
  // say why and leave the window as it was, the selection included, or Save
  // would propose this file's name for the code shown before.
  try {
    length = f_.Files.FileLen(path);
    if (ShortEnoughForFace(length)) bytes = ReadWholeFile(f_.Files, path);
  } catch (const Error& error) {
    f_.lstFile.RestorePreviousSelection();
    ShowWarning(error.description());
    return;
  }
  if (ShortEnoughForFace(length)) {
    ShowChosenFile(path, bytes);
  } else {
    RefuseChosenFile(length);
  }
}

void FrmBase64::ShowChosenFile(const std::u16string& path, const std::u16string& bytes) {
  // Other events, a second click among them, may run here; this run goes on
  // with the path and bytes it already has.
  f_.Events.DoEvents();
  f_.txt.SetTag(bytes);
  f_.frmBase64.SetMousePointer(MousePointer::kHourglass);
  f_.txt.SetText(modBase64::EncodeBase64(f_.txt.Tag()));
  f_.frmBase64.SetMousePointer(MousePointer::kDefault);

  std::u16string errorText;
  if (LoadPicBox(f_, path, &f_.Picture1, true, errorText)) {
    f_.cmdSavePic.SetEnabled(true);
    f_.cmdSave.SetEnabled(true);
  } else {
    ShowWarning(errorText);
  }
}

void FrmBase64::RefuseChosenFile(std::int64_t length) {
  f_.cmdSavePic.SetEnabled(false);
  f_.cmdSave.SetEnabled(false);
  f_.txt.SetText(u"");
  f_.Picture1.ClearPicture();
  f_.Label1.SetForeColor(kColorRed);
  f_.Label1.SetCaption(SizeText(length, f_.App.DecimalSeparator()) + kLineBreak + kTooLargeForFace);
}

void FrmBase64::ClearWarningState() {
  if (f_.Label1.ForeColor() != kColorRed) return;
  f_.Label1.SetCaption(u"");
  f_.Picture1.ClearPicture();
  f_.txt.SetText(u"");
}

void FrmBase64::lstDir_Change() {
  f_.lstFile.SetPath(f_.lstDir.Path());
  ClearWarningState();
}

void FrmBase64::lstDrive_Change() {
  try {
    f_.lstDir.SetPath(f_.lstDrive.Drive());
    f_.lstDir.SetEnabled(true);
    ClearWarningState();
  } catch (const Error& error) {
    ShowWarning(error.description());
    // Back to the program's own drive, which raises this handler again.
    f_.lstDrive.SetDrive(f_.App.Path());
  }
}

void FrmBase64::ShowWarning(const std::u16string& text) { f_.Messages.MsgBox(text, kMsgBoxExclamation); }

}  // namespace velmora
