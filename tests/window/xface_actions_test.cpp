// SPDX-License-Identifier: GPL-3.0-or-later
// X-Face headers copied from the file list's and the code box's context
// menus, an X-Face on the clipboard pasted into the code box as a Face, and
// the X-Face's picture in the report's tooltip.

#include <optional>
#include <variant>

#include "fit/fit_error.h"
#include "platform/bytes.h"
#include "platform/line_breaks.h"
#include "tests/window/window_fixture.h"
#include "xface/bitmap_png.h"
#include "xface/xface_code.h"
#include "xface/xface_picture.h"

namespace velmora::test {
namespace {

using headless::PlatformCall;

constexpr std::u16string_view kCopyXFace = u"Als X-Face-Header kopieren";
constexpr std::u16string_view kPasteXFace = u"X-Face aus Zwischenablage einfügen";
const std::u16string kNoXFace = u"Die Zwischenablage enthält keinen X-Face-Code.";

// The code XFaceOfPng gives the picture; "" when it gives none.
std::u16string XFaceCodeOf(const std::string& png) {
  const auto xface = xface::XFaceOfPng(BytesOf(png));
  const auto* chosen = std::get_if<xface::BlackAndWhiteCandidate>(&xface);
  return chosen != nullptr && chosen->code ? *chosen->code : u"";
}

xface::Bitmap BitmapOf(const std::u16string& text) {
  const auto decoded = xface::DecodeXFace(text);
  EXPECT_TRUE(std::holds_alternative<xface::Bitmap>(decoded));
  return std::holds_alternative<xface::Bitmap>(decoded) ? std::get<xface::Bitmap>(decoded) : xface::Bitmap();
}

class XFaceActionsTest : public WindowTest {
 protected:
  bool CopyXFaceOfFile(const std::string& name) {
    return platform.lstFile.ChooseContextMenuEntry(U16(name), kCopyXFace);
  }
  [[nodiscard]] std::u16string ClipboardText() { return platform.Clipboard.GetText(kClipboardText); }
  // The messages shown since that many had been.
  [[nodiscard]] std::vector<std::u16string> MessagesSince(std::size_t shown) const {
    const std::vector<std::u16string> all = Messages();
    return {all.begin() + static_cast<std::ptrdiff_t>(shown), all.end()};
  }
};

TEST_F(XFaceActionsTest, FileEntryCopiesThePicturesXFaceHeaderWithTheWindowsLineBreaks) {
  const std::string photo = MakePng(64, 64);
  AddFile("photo.png", photo);
  const std::u16string code = XFaceCodeOf(photo);
  ASSERT_FALSE(code.empty());

  ASSERT_TRUE(CopyXFaceOfFile("photo.png"));
  EXPECT_EQ(ClipboardText(), CrLfText(xface::XFaceHeader(code)));
  EXPECT_NE(ClipboardText().find(u"\r\n "), std::u16string::npos) << "the header is folded";
  EXPECT_EQ(platform.lstFile.FileName(), u"") << "the entry stays unselected";
  EXPECT_TRUE(Messages().empty());
}

TEST_F(XFaceActionsTest, FileThatGivesNoXFaceIsReportedAndTheClipboardKept) {
  const struct {
    const char* name;
    std::string bytes;
    std::optional<PlatformCall> failing;
    std::u16string message;
  } cases[] = {
      {"broken.png", "not a picture", std::nullopt, std::u16string(fit::FitErrorText(fit::FitError::kUnreadable))},
      {"locked.png", MakePng(8, 8), PlatformCall::kReadFile, u"Zugriff verweigert"},
  };
  for (const auto& [name, bytes, failing, message] : cases) {
    SCOPED_TRACE(name);
    AddFile(name, bytes);
    platform.Clipboard.SetText(u"before");
    const std::size_t shown = Messages().size();
    if (failing) platform.Faults.FailNthCall(1, kErrPermissionDenied, *failing);
    ASSERT_TRUE(CopyXFaceOfFile(name));
    EXPECT_EQ(MessagesSince(shown), std::vector{message});
    EXPECT_EQ(ClipboardText(), u"before");
  }
}

TEST_F(XFaceActionsTest, CodeBoxCopiesTheXFaceOfItsPictureAndIsGreyedWithoutAPngCode) {
  platform.Clipboard.SetText(u"before");
  EXPECT_FALSE(platform.txt.ChooseContextMenuEntry(kCopyXFace));
  platform.txt.Type(u"Hallo");
  EXPECT_FALSE(platform.txt.ContextMenuEntryEnabled(kCopyXFace));
  EXPECT_EQ(ClipboardText(), u"before");

  const std::string png = MakePng(32, 32);
  platform.txt.Type(FaceCode(png));
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kCopyXFace));
  EXPECT_EQ(ClipboardText(), CrLfText(xface::XFaceHeader(XFaceCodeOf(png))));
}

TEST_F(XFaceActionsTest, ReportToolTipShowsThePictureTheXFaceHeaderShows) {
  const std::string photo = MakePng(64, 64);
  AddFile("photo.png", photo);
  ClickFile("photo.png");
  const ToolTip toolTip = platform.Label1.ToolTip();
  EXPECT_EQ(toolTip.picture, xface::BitmapPng(BitmapOf(XFaceCodeOf(photo))));
  EXPECT_TRUE(toolTip.text.ends_with(u"\r\nLinks das Bild, wie es der X-Face-Header zeigt."));
}

TEST_F(XFaceActionsTest, XFaceOnTheClipboardBecomesTheBoxsFaceCodeWithItsPreview) {
  const std::string photo = MakePng(64, 64);
  const std::u16string code = XFaceCodeOf(photo);
  const xface::Bitmap bitmap = BitmapOf(code);
  const std::u16string face = FaceCode(xface::BitmapPng(bitmap));
  std::u16string unfolded = code;
  std::erase(unfolded, u'\n');
  std::erase(unfolded, u' ');
  const std::u16string clipboards[] = {
      xface::XFaceHeader(code), CrLfText(xface::XFaceHeader(code)), unfolded, u"x-face: " + unfolded, code,
  };
  for (const std::u16string& clipboard : clipboards) {
    SCOPED_TRACE(ToUtf8(clipboard));
    platform.txt.Type(u"");
    platform.Clipboard.SetText(clipboard);
    ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kPasteXFace));
    EXPECT_EQ(platform.txt.Text(), face);
    ASSERT_TRUE(platform.Picture1.picture());
    EXPECT_TRUE(platform.cmdSavePic.Enabled());
    EXPECT_TRUE(Messages().empty());
  }

  // And back: the Face's X-Face is the one pasted.
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kCopyXFace));
  EXPECT_EQ(BitmapOf(ClipboardText()), bitmap);
}

TEST_F(XFaceActionsTest, ClipboardWithoutAnXFaceIsRefusedAndTheBoxKept) {
  const std::u16string code = FaceCode(MakePng(16, 16));
  platform.txt.Type(code);
  const std::u16string clipboards[] = {u"", u"hello", u"Face: " + code, u"X-Face: \u00e4"};
  for (const std::u16string& clipboard : clipboards) {
    SCOPED_TRACE(ToUtf8(clipboard));
    const std::size_t shown = Messages().size();
    platform.Clipboard.SetText(clipboard);
    EXPECT_TRUE(platform.txt.ContextMenuEntryEnabled(kPasteXFace));
    ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kPasteXFace));
    EXPECT_EQ(MessagesSince(shown), std::vector{kNoXFace});
    EXPECT_EQ(platform.txt.Text(), code);
  }
}

}  // namespace
}  // namespace velmora::test
