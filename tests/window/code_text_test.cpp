// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/line_breaks.h"
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

const std::u16string kInvalidCode = u"Keine gültigen Daten für ein Bild";

class CodeTextTest : public WindowTest {
 protected:
  CodeTextTest() : png(MakePng(32, 32)), code(FaceCode(png)) {}

  // The code as a mail header carries it: "Face: ", then the code folded
  // over three lines, each continuation line starting with a space.
  [[nodiscard]] std::u16string FoldedHeader() const {
    const std::size_t third = code.size() / 3;
    return u"Face: " + code.substr(0, third) + u"\r\n " + code.substr(third, third) + u"\r\n " +
           code.substr(2 * third);
  }

  void Paste(const std::u16string& clipboard) {
    platform.Clipboard.SetText(clipboard);
    platform.cmdPaste.Click();
  }

  void ExpectBothSaveButtons(bool enabled) {
    EXPECT_EQ(platform.cmdSave.Enabled(), enabled);
    EXPECT_EQ(platform.cmdSavePic.Enabled(), enabled);
  }

  const std::string png;
  const std::u16string code;
};

TEST_F(CodeTextTest, PastedFoldedHeaderEndsAsBareCodeDrawnFiveTimes) {
  platform.txt.Type(FaceCode(MakePng(8, 8)));
  const int drawsBefore = platform.Picture1.draws();
  Paste(FoldedHeader());
  EXPECT_EQ(platform.txt.Text(), code);
  EXPECT_EQ(platform.Picture1.draws() - drawsBefore, 5);
  EXPECT_EQ(platform.Picture1.picture()->width, 32);
  ExpectBothSaveButtons(true);
  EXPECT_TRUE(Messages().empty());
  // The report counts the cleaned code.
  EXPECT_TRUE(platform.Label1.Caption().ends_with(LengthText(code.size()) + u" Zeichen"));
}

TEST_F(CodeTextTest, HeadersCopiedByLinuxProgramsPasteToTheBareCodeWithoutAWord) {
  const std::u16string lf = ShownText(FoldedHeader());
  const std::u16string copied[] = {lf, lf + u"\n", u"Face: " + code + u"\n", u"Face: " + code + u"\r"};
  for (const std::u16string& text : copied) {
    SCOPED_TRACE(ToUtf8(text.substr(text.size() - 80)));
    platform.txt.Type(u"");
    Paste(text);
    EXPECT_EQ(platform.txt.Text(), code);
    EXPECT_EQ(platform.Picture1.picture()->width, 32);
    ExpectBothSaveButtons(true);
    EXPECT_EQ(Messages(), std::vector<std::u16string>{});
  }
}

TEST_F(CodeTextTest, PasteDeselectsAFileEntryAndDrawsFourTimes) {
  AddFile("other.png", MakePng(8, 8));
  ClickFile("other.png");
  const int drawsBefore = platform.Picture1.draws();
  Paste(FoldedHeader());
  EXPECT_EQ(platform.lstFile.ListIndex(), -1);
  EXPECT_EQ(platform.txt.Text(), code);
  EXPECT_EQ(platform.Picture1.draws() - drawsBefore, 4);
}

TEST_F(CodeTextTest, RepeatedPastesDrawAgainButAnIdenticalCodeOnlyOnce) {
  Paste(FoldedHeader());
  int drawsBefore = platform.Picture1.draws();
  platform.cmdPaste.Click();
  EXPECT_EQ(platform.Picture1.draws() - drawsBefore, 5);

  drawsBefore = platform.Picture1.draws();
  Paste(code);
  EXPECT_EQ(platform.Picture1.draws() - drawsBefore, 1);
}

TEST_F(CodeTextTest, PastedWordIsRejectedOnceAndKeptInTheBox) {
  Paste(FoldedHeader());
  platform.Messages.Forget();
  Paste(u"Hallo");
  EXPECT_EQ(platform.txt.Text(), u"Hallo");
  EXPECT_FALSE(platform.Picture1.picture());
  EXPECT_EQ(platform.Label1.Caption(), u"");
  ExpectBothSaveButtons(false);
  ASSERT_EQ(platform.Messages.shown().size(), 1u);
  EXPECT_EQ(platform.Messages.shown()[0].prompt, kInvalidCode);
  EXPECT_EQ(platform.Messages.shown()[0].style, kMsgBoxExclamation);
}

TEST_F(CodeTextTest, ClipboardWithoutTextEmptiesTheBoxAndIsRejected) {
  platform.txt.Type(u"something");
  platform.Clipboard.SetNoText();
  platform.cmdPaste.Click();
  EXPECT_EQ(platform.txt.Text(), u"");
  ExpectBothSaveButtons(false);
  EXPECT_EQ(Messages(), std::vector{kInvalidCode});
}

TEST_F(CodeTextTest, CleaningRemovesSpacesLineBreakPairsAndEveryLeadingHeaderButNothingElse) {
  Paste(u"Face:Face: " + code);
  EXPECT_EQ(platform.txt.Text(), code);

  // Only the logic's own texts hold a lone break: the desktop's arrive as CR LF.
  const std::u16string withLoneBreaks = code.substr(0, 100) + u"\n" + code.substr(100, 100) + u"\r\t\u00A0" +
                                        code.substr(200);
  platform.txt.Type(withLoneBreaks);
  EXPECT_EQ(platform.txt.Text(), withLoneBreaks);

  platform.Messages.Forget();
  Paste(u"face:" + code);  // the header is matched with its case
  EXPECT_EQ(platform.txt.Text(), u"face:" + code);
  EXPECT_EQ(Messages(), std::vector{kInvalidCode});
}

TEST_F(CodeTextTest, TypingDecodesLiveWithoutAFileEntrySelected) {
  platform.txt.Type(u"face:" + code);  // no PNG code: enabled, nothing drawn, nothing said
  ExpectBothSaveButtons(true);
  EXPECT_EQ(platform.Picture1.draws(), 0);

  platform.txt.Type(code);
  EXPECT_EQ(platform.Picture1.draws(), 1);

  platform.txt.Type(code.substr(0, 40));  // an incomplete code warns at every keystroke
  EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Bitmap kann nicht geöffnet werden"});
  ExpectBothSaveButtons(true);
}

TEST_F(CodeTextTest, TypedSpaceVanishesAndDeletingEverythingDisablesOnlyTextSaving) {
  platform.txt.Type(u" ");
  EXPECT_EQ(platform.txt.Text(), u"");
  ExpectBothSaveButtons(false);

  platform.txt.Type(code);
  platform.txt.Type(u"");
  EXPECT_FALSE(platform.cmdSave.Enabled());
  EXPECT_TRUE(platform.cmdSavePic.Enabled());
  EXPECT_TRUE(platform.Picture1.picture());
}

TEST_F(CodeTextTest, TypingWithAFileEntrySelectedIsNeitherCleanedNorDecoded) {
  AddFile("a.png", MakePng(8, 8));
  ClickFile("a.png");
  const int drawsBefore = platform.Picture1.draws();
  platform.txt.Type(u"Face: " + code);
  EXPECT_EQ(platform.txt.Text(), u"Face: " + code);
  EXPECT_EQ(platform.Picture1.draws(), drawsBefore);
  platform.txt.Type(u"");
  EXPECT_FALSE(platform.cmdSave.Enabled());
}

TEST_F(CodeTextTest, WideOrLargePicturesFollowThePrefixRuleNotTheFileSizeLimit) {
  const std::u16string wide = FaceCode(MakePng(1024, 1));
  Paste(wide);
  EXPECT_EQ(Messages(), std::vector{kInvalidCode});
  platform.txt.Type(u"");
  platform.txt.Type(wide);
  ExpectBothSaveButtons(true);

  const std::u16string megabyte = FaceCode(MakePng(1000, 8000));
  ASSERT_GT(megabyte.size(), 1u << 20);
  Paste(megabyte);
  EXPECT_EQ(platform.Picture1.picture()->height, 8000);
  EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(CodeTextTest, CorruptCodeWithThePrefixWarnsOncePerDraw) {
  std::string broken = png;
  broken[40] ^= 0x55;
  Paste(u" " + FaceCode(broken));  // one cleaning write: two runs, then the verdict
  EXPECT_EQ(Messages(), std::vector<std::u16string>(3, u"Bitmap kann nicht geöffnet werden"));
  ExpectBothSaveButtons(true);
}

TEST_F(CodeTextTest, UsersOwnTempPngBesideTheProgramIsNeverTouched) {
  pictures.Write("temp.png", "mine");
  Paste(FoldedHeader());
  platform.txt.Type(code.substr(0, 100));
  EXPECT_EQ(pictures.Read("temp.png"), "mine");
}

TEST_F(CodeTextTest, UnwritableTemporaryFolderIsReportedOncePerActionAndNothingDrawn) {
  disk.SetTemporaryFolder(pictures.Path("missing"));
  const std::vector<std::u16string> once{u"Pfad nicht gefunden"};
  platform.txt.Type(code);
  EXPECT_EQ(Messages(), once);
  platform.Messages.Forget();
  // Five decodings, one failure.
  Paste(FoldedHeader());
  EXPECT_EQ(Messages(), once);
  platform.Messages.Forget();
  platform.txt.Type(code + u" ");
  EXPECT_EQ(Messages(), once) << "each action is told anew";
  EXPECT_EQ(platform.Picture1.draws(), 0);
  EXPECT_EQ(platform.txt.Text(), code);
}

}  // namespace
}  // namespace velmora::test
