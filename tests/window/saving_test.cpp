// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>


#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

class SavingTest : public WindowTest {
 protected:
  SavingTest() : png(MakePng(32, 32)) {
    AddFile("smile.png", png);
    ClickFile("smile.png");
  }

  [[nodiscard]] const headless::SaveDialogShown& LastDialog() const { return platform.CommonDialog1.shown().back(); }

  const std::string png;
};

TEST_F(SavingTest, ProposedCodeNameFollowsThePicturesName) {
  platform.CommonDialog1.AnswerCancel();
  platform.cmdSave.Click();
  EXPECT_EQ(LastDialog().fileName, pictures.Path("smile.txt"));
  EXPECT_EQ(LastDialog().title, u"Face-Code in Textdatei speichern");
  EXPECT_EQ(LastDialog().filter, u"Textdateien (*.txt)|*.txt");
  EXPECT_EQ(LastDialog().flags, kDialogOverwritePrompt);
  EXPECT_TRUE(LastDialog().cancelError);

  AddFile("SMILE.PNG", png);
  ClickFile("SMILE.PNG");
  platform.cmdSave.Click();
  EXPECT_EQ(LastDialog().fileName, pictures.Path("SMILE.txt"));

  platform.lstFile.SetSelected(platform.lstFile.ListIndex(), false);
  platform.cmdSave.Click();
  EXPECT_EQ(LastDialog().fileName, pictures.Path("face.txt"));
}

TEST_F(SavingTest, ProposedCodeNameAtTheRootHasOneSeparator) {
  platform.lstFile.SetPath(u"/");
  platform.cmdSave.Click();
  EXPECT_EQ(LastDialog().fileName, u"/face.txt");
}

TEST_F(SavingTest, SavesExactlyTheCodeAndThePictureAndMovesTheFocus) {
  platform.CommonDialog1.AnswerWith(pictures.Path("smile.txt"));
  platform.cmdSave.Click();
  EXPECT_EQ(pictures.Read("smile.txt"), ToUtf8(FaceCode(png)));
  EXPECT_TRUE(platform.Picture1.focused());

  platform.Picture1.LoseFocus();
  platform.txt.Type(u"  " + FaceCode(png) + u" ");  // a selected entry: the spaces stay in the box
  platform.CommonDialog1.AnswerWith(pictures.Path("copy.png"));
  platform.cmdSavePic.Click();
  EXPECT_EQ(LastDialog().fileName, u"Face-pic.png");
  EXPECT_EQ(LastDialog().title, u"Face als PNG-Bilddatei speichern");
  EXPECT_EQ(LastDialog().filter, u"PNG Bilddateien (*.png)|*.png");
  EXPECT_EQ(pictures.Read("copy.png"), png);
  EXPECT_TRUE(platform.Picture1.focused());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SavingTest, CancelIsSilentAndKeepsTheFocus) {
  platform.CommonDialog1.AnswerCancel();
  platform.cmdSavePic.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(platform.Picture1.focused());
}

TEST_F(SavingTest, FailedSaveShowsTheErrorAndKeepsTheExistingFile) {
  platform.CommonDialog1.AnswerWith(pictures.Path("missing/face.txt"));
  platform.cmdSave.Click();
  ASSERT_EQ(platform.Messages.shown().size(), 1u);
  EXPECT_EQ(platform.Messages.shown()[0].prompt, u"Fehler #76: Pfad nicht gefunden");
  EXPECT_EQ(platform.Messages.shown()[0].style, kMsgBoxOkOnly);
  EXPECT_FALSE(platform.Picture1.focused());

  // A folder standing where the file should go cannot be replaced.
  pictures.MakeFolder("taken.txt");
  pictures.Write("taken.txt/keep", "kept");
  platform.CommonDialog1.AnswerWith(pictures.Path("taken.txt"));
  platform.cmdSave.Click();
  EXPECT_EQ(platform.Messages.shown().back().prompt, u"Fehler #75: Fehler beim Zugriff auf Pfad/Datei");
  EXPECT_EQ(pictures.Read("taken.txt/keep"), "kept");
}

TEST_F(SavingTest, FailedSaveLeavesTheReplacedFileWholeAndSaysWhy) {
  pictures.Write("old.png", "the old picture");
  platform.CommonDialog1.AnswerWith(pictures.Path("old.png"));
  platform.Faults.FailNthCall(1, kErrDiskFull, headless::PlatformCall::kReplaceFile);
  platform.cmdSavePic.Click();
  EXPECT_EQ(platform.Messages.shown().back().prompt, u"Fehler #61: Datenträger voll");
  EXPECT_EQ(pictures.Read("old.png"), "the old picture");
  EXPECT_EQ(pictures.ListNames(), "old.png smile.png");
}

}  // namespace
}  // namespace velmora::test
