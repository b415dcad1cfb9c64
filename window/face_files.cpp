// SPDX-License-Identifier: GPL-3.0-or-later
// Face files from the file list's context menu, and picture files dropped
// onto the window: either way the file ends up selected in the lists and
// encoded as a click on it does. A picture on the clipboard is fitted the
// same way, but its Face goes into the code box and never to disk.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "fit/fit_picture.h"
#include "platform/browser_state.h"
#include "platform/bytes.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "window/frm_base64.h"
#include "window/hourglass.h"

namespace velmora {
namespace {

constexpr std::u16string_view kFaceSuffix = u"-face";
constexpr std::size_t kExtensionLength = 4;  // ".png" in the case the list shows it
constexpr int kMostFaceFileNames = 10000;
constexpr char16_t kNoPictureOnClipboard[] = u"Die Zwischenablage enthält kein Bild.";

// "smile.png" gives "smile-face.png", then "smile-face-2.png", "smile-face-3.png", ...
std::u16string FaceFileName(const std::u16string& pictureName, int attempt) {
  const std::size_t stem = pictureName.size() - std::min(pictureName.size(), kExtensionLength);
  std::u16string name = pictureName.substr(0, stem);
  name += kFaceSuffix;
  if (attempt > 1) name.append(u"-").append(DecimalText(attempt));
  return name.append(pictureName, stem);
}

}  // namespace

void FrmBase64::lstFile_FitIntoFace(int index) {
  const std::optional<std::string> picture = ReadListedFile(index);
  if (!picture) return;
  const std::optional<std::string> face = FittedFace(*picture);
  if (face) WriteAndSelectFace(index, *face);
}

void FrmBase64::WriteAndSelectFace(int index, const std::string& face) {
  std::u16string faceName;
  try {
    faceName = WriteFaceFile(f_.lstFile.List(index), face);
  } catch (const Error& error) {
    ShowWarning(error.description());
    return;
  }
  f_.lstFile.Refresh();
  EncodeListedFile(faceName);
}

std::optional<std::string> FrmBase64::ReadListedFile(int index) {
  const std::u16string name = f_.lstFile.List(index);
  if (name.empty()) return std::nullopt;
  try {
    return f_.Files.ReadFile(JoinPath(f_.lstFile.Path(), name));
  } catch (const Error& error) {
    ShowWarning(error.description());
    return std::nullopt;
  }
}

bool FrmBase64::txt_ClipboardPictureAvailable() { return f_.Clipboard.HasPicture(); }

void FrmBase64::txt_PasteClipboardPicture() {
  const UserAction action(*this);
  const std::optional<std::string> picture = ClipboardPicture();
  if (!picture) return;
  const std::optional<std::string> face = FittedFace(*picture);
  if (face) PasteFace(*face);
}

std::optional<std::string> FrmBase64::ClipboardPicture() {
  // The clipboard may have changed since the menu opened.
  std::string picture = f_.Clipboard.GetPicture();
  if (picture.empty()) {
    ShowWarning(kNoPictureOnClipboard);
    return std::nullopt;
  }
  return picture;
}

void FrmBase64::PasteFace(const std::string& face) {
  PasteText(modBase64::EncodeBase64(BytesToByteString(BytesOf(face))));
}

std::optional<std::string> FrmBase64::FittedFace(const std::string& picture) {
  std::variant<fit::FitResult, fit::FitError> fitted;
  {
    const Hourglass busy(f_.frmBase64);
    fitted = fit::FitPictureIntoFace(BytesOf(picture));
  }
  if (const auto* error = std::get_if<fit::FitError>(&fitted)) {
    ShowWarning(std::u16string(fit::FitErrorText(*error)));
    return std::nullopt;
  }
  return std::move(std::get<fit::FitResult>(fitted).png);
}

std::u16string FrmBase64::WriteFaceFile(const std::u16string& pictureName, const std::string& face) {
  for (int attempt = 1;; ++attempt) {
    const std::u16string name = FaceFileName(pictureName, attempt);
    try {
      f_.Files.WriteNewFile(JoinPath(f_.lstFile.Path(), name), face);
      return name;
    } catch (const Error& error) {
      // A folder that claims every name taken is no place to look on in.
      if (error.number() != kErrFileAlreadyExists || attempt == kMostFaceFileNames) throw;
    }
  }
}

void FrmBase64::Form_DropFile(const std::u16string& path) {
  if (IsPhotoName(path)) {
    FrameDroppedPicture(path);
    return;
  }
  // The platform hands over absolute paths only.
  const std::size_t slash = path.find_last_of(u'/');
  const std::u16string folder = slash == 0 ? u"/" : path.substr(0, slash);
  try {
    f_.lstDrive.SetDrive(path);
    f_.lstDir.SetPath(folder);
    // Lists the folder afresh even when it was shown already, and raises a
    // failure here rather than in the folder list's own handler.
    f_.lstFile.SetPath(folder);
  } catch (const Error& error) {
    ShowWarning(error.description());
    return;
  }
  EncodeListedFile(path.substr(slash + 1));
}

void FrmBase64::EncodeListedFile(const std::u16string& name) {
  for (int index = 0; index < f_.lstFile.ListCount(); ++index) {
    if (f_.lstFile.List(index) != name) continue;
    f_.lstFile.SetSelected(index, true);
    lstFile_Click();
    return;
  }
  ShowWarning(DescriptionOf(kErrFileNotFound));
}

}  // namespace velmora
