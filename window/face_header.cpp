// SPDX-License-Identifier: GPL-3.0-or-later
// What the user takes from the window to a mail program: the code as a
// header line, and which readers will not show the picture.

#include <string>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "face/face_header.h"
#include "face/png_code.h"
#include "face/reader_hints.h"
#include "window/frm_base64.h"

namespace velmora {
namespace {

std::u16string OnOneLine(std::u16string text) {
  std::erase_if(text, [](char16_t c) { return c == kLineBreak[0] || c == kLineBreak[1]; });
  return text;
}

}  // namespace

bool FrmBase64::txt_CopyHeaderAvailable() { return face::HasPngCodePrefix(f_.txt.Text()); }

// A mail header is one line, whatever breaks the user typed into the code.
void FrmBase64::txt_CopyHeader() { f_.Clipboard.SetText(face::HeaderLine(OnOneLine(f_.txt.Text()))); }

// Folded for mail programs that take a header as it is pasted; the lines end
// as the window's texts do.
void FrmBase64::txt_CopyFoldedHeader() {
  f_.Clipboard.SetText(face::JoinedLines(face::FoldedHeaderLines(OnOneLine(f_.txt.Text())), kLineBreak));
}

// While the label shows a report, the code box holds the code of the picture
// it describes; an empty label or a code that is no PNG file gives no hint.
ToolTip FrmBase64::Label1_ToolTip() {
  if (f_.Label1.Caption().empty()) return {};
  const std::string pngFile = ByteStringToBytes(modBase64::DecodeBase64(f_.txt.Text()));
  return WithXFacePreview({face::ReaderHints(pngFile, kLineBreak), {}}, pngFile);
}

}  // namespace velmora
