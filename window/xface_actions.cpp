// SPDX-License-Identifier: GPL-3.0-or-later
// X-Face headers from the context menus: of a listed picture, of the picture
// the code box holds, and the way back from an X-Face on the clipboard to a
// Face code in the box. The report's tooltip shows the X-Face's picture.

#include <optional>
#include <string>
#include <variant>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "platform/bytes.h"
#include "platform/line_breaks.h"
#include "window/frm_base64.h"
#include "xface/bitmap_png.h"
#include "xface/xface_code.h"
#include "xface/xface_error.h"
#include "xface/xface_picture.h"

namespace velmora {
namespace {

constexpr char16_t kNoXFaceOnClipboard[] = u"Die Zwischenablage enthält keinen X-Face-Code.";
constexpr char16_t kXFacePreviewLine[] = u"Links das Bild, wie es der X-Face-Header zeigt.";

}  // namespace

void FrmBase64::lstFile_CopyXFaceHeader(int index) {
  const std::optional<std::string> picture = ReadListedFile(index);
  if (picture) CopyXFaceHeaderOf(*picture);
}

void FrmBase64::txt_CopyXFaceHeader() {
  CopyXFaceHeaderOf(ByteStringToBytes(modBase64::DecodeBase64(f_.txt.Text())));
}

void FrmBase64::CopyXFaceHeaderOf(const std::string& pngFile) {
  const std::variant<xface::BlackAndWhiteCandidate, fit::FitError> xface = xface::XFaceOfPng(BytesOf(pngFile));
  if (const auto* error = std::get_if<fit::FitError>(&xface)) {
    ShowWarning(std::u16string(fit::FitErrorText(*error)));
    return;
  }
  const std::optional<std::u16string>& code = std::get<xface::BlackAndWhiteCandidate>(xface).code;
  if (!code) {
    ShowWarning(std::u16string(xface::XFaceErrorText(xface::XFaceError::kTooDetailed)));
    return;
  }
  f_.Clipboard.SetText(CrLfText(xface::XFaceHeader(*code)));
}

ToolTip FrmBase64::WithXFacePreview(ToolTip toolTip, const std::string& pngFile) {
  const std::variant<xface::BlackAndWhiteCandidate, fit::FitError> xface = xface::XFaceOfPng(BytesOf(pngFile));
  const auto* chosen = std::get_if<xface::BlackAndWhiteCandidate>(&xface);
  if (chosen == nullptr) return toolTip;
  if (!toolTip.text.empty()) toolTip.text += kLineBreak;
  if (chosen->code) {
    toolTip.text += kXFacePreviewLine;
    toolTip.picture = xface::BitmapPng(chosen->bitmap);
  } else {
    toolTip.text += xface::XFaceErrorText(xface::XFaceError::kTooDetailed);
  }
  return toolTip;
}

void FrmBase64::txt_PasteXFace() {
  const UserAction action(*this);
  const std::optional<std::u16string> clipboard = ClipboardText();
  if (!clipboard) return;
  const std::variant<xface::Bitmap, xface::XFaceError> bitmap = xface::DecodeXFace(*clipboard);
  if (!std::holds_alternative<xface::Bitmap>(bitmap)) {
    ShowWarning(kNoXFaceOnClipboard);
    return;
  }
  const std::string png = xface::BitmapPng(std::get<xface::Bitmap>(bitmap));
  PasteText(modBase64::EncodeBase64(BytesToByteString(BytesOf(png))));
}

}  // namespace velmora
