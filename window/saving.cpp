// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the code into a text file and the decoded picture into a PNG file,
// both through the Save dialog.

#include <algorithm>
#include <string>
#include <string_view>

#include "codec/base64.h"
#include "files/whole_file.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "window/frm_base64.h"

namespace velmora {
namespace {

constexpr char16_t kSaveCodeTitle[] = u"Face-Code in Textdatei speichern";
constexpr char16_t kSaveCodeFilter[] = u"Textdateien (*.txt)|*.txt";
constexpr char16_t kDefaultCodeName[] = u"face.txt";
constexpr std::u16string_view kCodeExtension = u"txt";
constexpr char16_t kSavePictureTitle[] = u"Face als PNG-Bilddatei speichern";
constexpr char16_t kSavePictureFilter[] = u"PNG Bilddateien (*.png)|*.png";
constexpr char16_t kDefaultPictureName[] = u"Face-pic.png";

// The picture's name with "txt" in place of its last three characters (the
// list shows only "*.png" names, so that swaps the extension), in the file
// list's folder; "face.txt" there when no picture is selected.
std::u16string ProposedCodeName(const std::u16string& folder, const std::u16string& pictureName) {
  if (pictureName.empty()) return JoinPath(folder, kDefaultCodeName);
  const std::size_t kept = pictureName.size() - std::min(pictureName.size(), kCodeExtension.size());
  return JoinPath(folder, pictureName.substr(0, kept) + std::u16string(kCodeExtension));
}

std::u16string WithoutOuterSpaces(const std::u16string& text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

}  // namespace

void FrmBase64::cmdSave_Click() {
  try {
    const std::u16string chosen = AskSaveName(kSaveCodeTitle, kSaveCodeFilter,
                                              ProposedCodeName(f_.lstFile.Path(), f_.lstFile.FileName()));
    if (!chosen.empty()) WriteWholeFile(f_.Files, chosen, f_.txt.Text());
    f_.Picture1.SetFocus();
  } catch (const Error& error) {
    ShowSaveError(error);
  }
}

void FrmBase64::cmdSavePic_Click() {
  try {
    const std::u16string chosen = AskSaveName(kSavePictureTitle, kSavePictureFilter, kDefaultPictureName);
    if (!chosen.empty()) WriteWholeFile(f_.Files, chosen, modBase64::DecodeBase64(WithoutOuterSpaces(f_.txt.Text())));
    f_.Picture1.SetFocus();
  } catch (const Error& error) {
    ShowSaveError(error);
  }
}

std::u16string FrmBase64::AskSaveName(const std::u16string& title, const std::u16string& filter,
                                      const std::u16string& proposedName) {
  SaveDialog& dialog = f_.CommonDialog1;
  dialog.SetCancelError(true);
  dialog.SetFlags(kDialogOverwritePrompt);
  dialog.SetDialogTitle(title);
  dialog.SetFilter(filter);
  dialog.SetFileName(proposedName);
  dialog.ShowSave();
  return dialog.FileName();
}

void FrmBase64::ShowSaveError(const Error& error) {
  if (error.number() == kErrCancel) return;
  f_.Messages.MsgBox(u"Fehler #" + DecimalText(error.number()) + u": " + error.description(), kMsgBoxOkOnly);
}

}  // namespace velmora
