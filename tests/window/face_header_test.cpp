// SPDX-License-Identifier: GPL-3.0-or-later
// The code as a mail header line, and the report label's hint about readers
// that will not show the picture.

#include "face/face_header.h"
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

const std::u16string kSizeHint = u"Manche Leseprogramme zeigen nur Bilder von genau 48 × 48 Pixeln.";
const std::u16string kBytesHint = u"Ein Leseprogramm warnt bei Bilddateien über 723 Bytes.";
const std::u16string kXFaceLine = u"Links das Bild, wie es der X-Face-Header zeigt.";

// The tooltip's text: the hints, then the line about the X-Face's picture.
std::u16string ToolTipText(const std::u16string& hints) {
  return hints.empty() ? kXFaceLine : hints + u"\r\n" + kXFaceLine;
}

constexpr std::u16string_view kCopyHeader = u"Als Face-Header kopieren";
constexpr std::u16string_view kCopyFoldedHeader = u"Als gefalteten Face-Header kopieren";
constexpr std::u16string_view kCopyXFaceHeader = u"Als X-Face-Header kopieren";

using FaceHeaderTest = WindowTest;

TEST_F(FaceHeaderTest, CodeBoxMenuHasItsEntriesInOrder) {
  EXPECT_EQ(platform.txt.ContextMenuCaptions(),
            (std::vector<std::u16string_view>{kCopyHeader, kCopyFoldedHeader, kCopyXFaceHeader,
                                              u"X-Face aus Zwischenablage einfügen",
                                              u"Bild aus Zwischenablage als Face",
                                              u"Ausschnitt aus Zwischenablage als Face …"}));
}

TEST_F(FaceHeaderTest, HeaderOfTheLargestFaceIsOneLineUnderTheMailLimit) {
  AddFile("limit.png", PaddedPng(MakePng(48, 48), 725));
  ClickFile("limit.png");
  const std::u16string code = platform.txt.Text();
  ASSERT_EQ(code.size(), 968u);

  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kCopyHeader));
  const std::u16string header = platform.Clipboard.GetText(kClipboardText);
  EXPECT_EQ(header, u"Face: " + code);
  EXPECT_EQ(header.size(), 974u);
}

TEST_F(FaceHeaderTest, CodeBrokenOverLinesByHandStillGivesOneHeaderLine) {
  const std::string png = MakePng(32, 32);
  AddFile("smile.png", png);
  ClickFile("smile.png");
  const std::u16string code = FaceCode(png);
  // With a file selected the box takes edits as they are.
  platform.txt.Type(code.substr(0, 40) + u"\r\n" + code.substr(40, 40) + u"\n" + code.substr(80));
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kCopyHeader));
  EXPECT_EQ(platform.Clipboard.GetText(kClipboardText), u"Face: " + code);
}

TEST_F(FaceHeaderTest, HeaderEntriesAreGreyedWhileTheBoxHoldsNoPngCode) {
  for (const std::u16string_view entry : {kCopyHeader, kCopyFoldedHeader, kCopyXFaceHeader}) {
    SCOPED_TRACE(ToUtf8(entry));
    platform.Clipboard.SetText(u"before");
    platform.txt.Type(u"");
    EXPECT_FALSE(platform.txt.ContextMenuEntryEnabled(entry));
    platform.txt.Type(u"Hallo");
    EXPECT_FALSE(platform.txt.ContextMenuEntryEnabled(entry));
    EXPECT_FALSE(platform.txt.ChooseContextMenuEntry(entry));
    EXPECT_EQ(platform.Clipboard.GetText(kClipboardText), u"before");

    platform.txt.Type(FaceCode(MakePng(8, 8)));
    EXPECT_TRUE(platform.txt.ContextMenuEntryEnabled(entry));
  }
}

TEST_F(FaceHeaderTest, FoldedHeaderHasTheWindowsLineBreaksAndPastesBackToTheSameCode) {
  AddFile("limit.png", PaddedPng(MakePng(48, 48), 725));
  ClickFile("limit.png");
  const std::u16string code = platform.txt.Text();
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kCopyFoldedHeader));
  const std::u16string header = platform.Clipboard.GetText(kClipboardText);

  std::u16string expected;
  for (const std::u16string& line : face::FoldedHeaderLines(code)) {
    expected += (expected.empty() ? u"" : u"\r\n") + line;
  }
  EXPECT_EQ(header, expected);
  EXPECT_GT(face::FoldedHeaderLines(code).size(), 1u);

  platform.txt.Type(u"");
  platform.cmdPaste.Click();
  EXPECT_EQ(platform.txt.Text(), code);
  EXPECT_TRUE(platform.Picture1.picture());
}

TEST_F(FaceHeaderTest, ToolTipNamesTheLimitsThePictureBreaks) {
  const struct {
    const char* name;
    std::string file;
    std::u16string hint;
  } cases[] = {
      {"fits.png", PaddedPng(MakePng(48, 48), 723), u""},
      {"small.png", MakePng(32, 32), kSizeHint},
      {"large.png", MakePng(64, 64), kSizeHint},
      {"heavy.png", PaddedPng(MakePng(48, 48), 724), kBytesHint},
      {"both.png", PaddedPng(MakePng(64, 64), 725), kSizeHint + u"\r\n" + kBytesHint},
  };
  for (const auto& [name, file, hint] : cases) {
    SCOPED_TRACE(name);
    AddFile(name, file);
    ClickFile(name);
    const std::u16string report = platform.Label1.Caption();
    EXPECT_EQ(platform.Label1.ToolTip().text, ToolTipText(hint));
    EXPECT_EQ(platform.Label1.Caption(), report);
  }
}

TEST_F(FaceHeaderTest, DecodedCodeGetsTheHintToo) {
  platform.txt.Type(FaceCode(MakePng(16, 16)));
  EXPECT_EQ(platform.Label1.ToolTip().text, ToolTipText(kSizeHint));
}

TEST_F(FaceHeaderTest, NoReportNoToolTip) {
  EXPECT_EQ(platform.Label1.ToolTip(), ToolTip());
  AddFile("big.png", std::string(726, 'x'));
  ClickFile("big.png");
  EXPECT_EQ(platform.Label1.ToolTip(), ToolTip());
}

}  // namespace
}  // namespace velmora::test
