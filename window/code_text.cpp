// SPDX-License-Identifier: GPL-3.0-or-later
// The code box: cleaning a pasted or typed Face code, decoding it live into
// the preview, and the paste command.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "codec/base64.h"
#include "face/face_header.h"
#include "face/png_code.h"
#include "files/whole_file.h"
#include "platform/traps.h"
#include "preview/load_pic_box.h"
#include "window/frm_base64.h"

namespace velmora {
namespace {

constexpr char16_t kInvalidCode[] = u"Keine gültigen Daten für ein Bild";

// Counting runs through the text without an early exit, which the compiler
// vectorises; most texts hold nothing to remove.
bool Contains(const std::u16string& text, char16_t c) { return std::count(text.begin(), text.end(), c) != 0; }

std::u16string WithoutSpaces(std::u16string text) {
  if (Contains(text, u' ')) std::erase(text, u' ');
  return text;
}

// Also the pairs that removing others brings together ("\r\r\n\n"). Works in
// place: the kept text never runs ahead of the text read.
std::u16string WithoutLineBreaks(std::u16string text) {
  constexpr char16_t kCarriageReturn = kLineBreak[0];
  constexpr char16_t kLineFeed = kLineBreak[1];
  if (!Contains(text, kLineFeed)) return text;
  std::size_t kept = 0;
  for (const char16_t c : text) {
    if (c == kLineFeed && kept != 0 && text[kept - 1] == kCarriageReturn) {
      --kept;
    } else {
      text[kept++] = c;
    }
  }
  text.resize(kept);
  return text;
}

// Every leading header, however often it repeats.
std::u16string WithoutHeaderPrefix(std::u16string text) {
  constexpr std::u16string_view kName = face::kHeaderFieldName;
  std::size_t start = 0;
  while (std::u16string_view(text).substr(start).starts_with(kName)) start += kName.size();
  text.erase(0, start);
  return text;
}

// Each step reads the box afresh and writes its result back; a write that
// changes the text runs txt_Change again, nested, which cleans on by itself.
// Each step removes all it can in one go: one pair or header per nested run
// would nest as deep as the text is long, until the stack overflows.
constexpr std::array<std::u16string (*)(std::u16string), 3> kCleaningSteps = {
    WithoutSpaces, WithoutLineBreaks, WithoutHeaderPrefix};

}  // namespace

void FrmBase64::ApplyCleaningStep(std::size_t step) { f_.txt.SetText(kCleaningSteps[step](f_.txt.Text())); }

void FrmBase64::txt_Change() {
  const UserAction action(*this);
  if (f_.txt.Text().empty() && !PasteActive) {
    f_.cmdSave.SetEnabled(false);
    return;
  }
  f_.cmdSave.SetEnabled(true);
  // A selected file entry means the box holds that file's code, or the user
  // edits it by hand: neither is cleaned or decoded.
  if (!f_.lstFile.FileName().empty()) return;

  for (std::size_t step = 0; step < kCleaningSteps.size(); ++step) ApplyCleaningStep(step);

  // cmdSave is disabled here only when a nested run found the text emptied.
  if (face::HasPngCodePrefix(f_.txt.Text()) || f_.cmdSave.Enabled()) {
    DecodeLive();
  } else {
    f_.cmdSavePic.SetEnabled(false);
    f_.cmdSave.SetEnabled(false);
  }
}

void FrmBase64::DecodeLive() {
  const std::u16string picture = WriteDecodedCode();
  f_.cmdSavePic.SetEnabled(true);
  f_.cmdSave.SetEnabled(true);
  if (face::HasPngCodePrefix(f_.txt.Text())) {
    if (!picture.empty()) PreviewTemporaryPicture(picture);
    PasteActive = false;
  }
  DeleteTemporaryPicture(picture);
}

void FrmBase64::cmdPaste_Click() {
  const UserAction action(*this);
  // Going on without the text would take the code already in the box for
  // the pasted one.
  if (const std::optional<std::u16string> clipboard = ClipboardText()) PasteText(*clipboard);
}

std::optional<std::u16string> FrmBase64::ClipboardText() {
  try {
    return f_.Clipboard.GetText(kClipboardText);
  } catch (const Error& error) {
    ShowWarning(error.description());
    return std::nullopt;
  }
}

void FrmBase64::PasteText(const std::u16string& text) {
  PasteActive = true;
  ResumeNext([this, &text] { f_.txt.SetText(text); });
  PasteActive = false;

  if (ResumeNextTest([this] { return f_.lstFile.ListIndex() >= 0; })) {
    ResumeNext([this] { f_.lstFile.SetSelected(f_.lstFile.ListIndex(), false); });
  }
  ResumeNext([this] { f_.lstFile.Refresh(); });
  for (std::size_t step = 0; step < kCleaningSteps.size(); ++step) ResumeNext([this, step] { ApplyCleaningStep(step); });

  if (ResumeNextTest([this] { return face::HasPngCodePrefix(f_.txt.Text()); })) {
    AcceptPaste();
  } else {
    RejectPaste();
  }
}

void FrmBase64::AcceptPaste() {
  ResumeNext([this] { f_.cmdSavePic.SetEnabled(true); });
  ResumeNext([this] { f_.cmdSave.SetEnabled(true); });
  const std::u16string picture = WriteDecodedCode();
  if (!picture.empty()) ResumeNext([this, &picture] { PreviewTemporaryPicture(picture); });
  ResumeNext([this, &picture] { DeleteTemporaryPicture(picture); });
  ResumeNext([this] { f_.lstFile.Refresh(); });
}

void FrmBase64::RejectPaste() {
  ResumeNext([this] { f_.cmdSavePic.SetEnabled(false); });
  ResumeNext([this] { f_.cmdSave.SetEnabled(false); });
  ResumeNext([this] { f_.lstFile.Refresh(); });
  ResumeNext([this] { f_.Label1.SetCaption(u""); });
  ResumeNext([this] { f_.Picture1.ClearPicture(); });
  ResumeNext([this] { ShowWarning(kInvalidCode); });
}

std::u16string FrmBase64::WriteDecodedCode() {
  try {
    return WriteTemporaryPicture(f_.Files, modBase64::DecodeBase64(f_.txt.Text()));
  } catch (const Error& error) {
    // Without the file there is nothing to preview; the user learns why.
    ShowWarningOncePerAction(error.description());
    return {};
  }
}

void FrmBase64::ShowWarningOncePerAction(const std::u16string& text) {
  if (std::ranges::find(warningsOfAction_, text) != warningsOfAction_.end()) return;
  warningsOfAction_.push_back(text);
  ShowWarning(text);
}

void FrmBase64::PreviewTemporaryPicture(const std::u16string& picture) {
  std::u16string errorText;
  if (!LoadPicBox(f_, picture, &f_.Picture1, true, errorText)) ShowWarning(errorText);
}

void FrmBase64::DeleteTemporaryPicture(const std::u16string& picture) {
  if (!picture.empty()) undeletedPictures_.push_back(picture);
  std::erase_if(undeletedPictures_, [this](const std::u16string& path) { return TemporaryPictureGone(path); });
}

bool FrmBase64::TemporaryPictureGone(const std::u16string& picture) {
  try {
    f_.Files.Kill(picture);
    return true;
  } catch (const Error&) {
    return !MayExist(f_.Files, picture);
  }
}

FrmBase64::~FrmBase64() {
  try {
    DeleteTemporaryPicture(u"");
  } catch (...) {
    // Nothing may escape a destructor; what stays is the system's to clean.
  }
}

}  // namespace velmora
