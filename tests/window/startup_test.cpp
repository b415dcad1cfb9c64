// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

using StartupTest = WindowTest;

TEST_F(StartupTest, ShowsTitleAndInitialStateOfEveryControl) {
  EXPECT_EQ(platform.frmBase64.Caption(), u"Velmora - 1.0.20");
  EXPECT_FALSE(platform.cmdSave.Enabled());
  EXPECT_FALSE(platform.cmdSavePic.Enabled());
  EXPECT_TRUE(platform.cmdPaste.Enabled());
  EXPECT_TRUE(platform.Command1.Enabled());
  EXPECT_EQ(platform.Label1.Caption(), u"");
  EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);
  EXPECT_EQ(platform.txt.Text(), u"");
  EXPECT_FALSE(platform.Picture1.picture());
  EXPECT_EQ(platform.lstDir.Path(), pictures.Path());
  EXPECT_EQ(platform.lstFile.Path(), pictures.Path());
  EXPECT_EQ(platform.lstFile.ListIndex(), -1);
  EXPECT_EQ(platform.lstDrive.Drive(), u"/ [test]");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(StartupTest, FocusOnTheCodeSelectsAllOfIt) {
  platform.txt.Focus();
  EXPECT_EQ(platform.txt.selStart(), 0);
  EXPECT_EQ(platform.txt.selLength(), 0);

  ASSERT_TRUE(platform.lstFile.Click(u"") == false);
  AddFile("a.png", MakePng(8, 8));
  ClickFile("a.png");
  platform.txt.Focus();
  EXPECT_EQ(platform.txt.selLength(), static_cast<int>(platform.txt.Text().size()));
  EXPECT_GT(platform.txt.selLength(), 0);
}

TEST_F(StartupTest, BeendenUnloadsWithoutQuestionEvenWithAnUnsavedCode) {
  platform.cmdPaste.Click();
  platform.Messages.Forget();
  platform.Command1.Click();
  EXPECT_TRUE(platform.frmBase64.unloaded());
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace velmora::test
