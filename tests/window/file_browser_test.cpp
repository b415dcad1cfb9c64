// SPDX-License-Identifier: GPL-3.0-or-later
#include <functional>

#include "platform/bytes.h"
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

const std::u16string kTooLarge = u"\r\nDie Datei ist zu groß für die Verwendung als Face!";

class FileBrowserTest : public WindowTest {
 protected:
  void ExpectLoaded(const std::string& bytes) {
    EXPECT_EQ(platform.txt.Text(), FaceCode(bytes));
    EXPECT_TRUE(platform.Picture1.picture());
    EXPECT_TRUE(platform.cmdSave.Enabled());
    EXPECT_TRUE(platform.cmdSavePic.Enabled());
  }

  void ExpectRefused(const std::u16string& sizeText) {
    EXPECT_EQ(platform.Label1.Caption(), sizeText + kTooLarge);
    EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);
    EXPECT_EQ(platform.txt.Text(), u"");
    EXPECT_FALSE(platform.Picture1.picture());
    EXPECT_FALSE(platform.cmdSave.Enabled());
    EXPECT_FALSE(platform.cmdSavePic.Enabled());
  }

  // Any file of that length; refused files are never looked into.
  void ClickFileOfLength(std::size_t length) {
    AddFile("big.png", std::string(length, 'x'));
    ClickFile("big.png");
  }

  void OpenSubfolder() {
    pictures.MakeFolder("sub");
    platform.lstDir.SetPath(pictures.Path("sub"));
  }
};

TEST_F(FileBrowserTest, ClickEncodesDrawsAndReportsTheFile) {
  const std::string png = MakePng(32, 32);
  AddFile("smile.png", png);
  ClickFile("smile.png");

  ExpectLoaded(png);
  EXPECT_EQ(platform.txt.Tag(), BytesToByteString(BytesOf(png)));
  EXPECT_EQ(platform.Picture1.picture()->source, pictures.Path("smile.png"));
  EXPECT_EQ(platform.Picture1.picture()->width, 32);
  EXPECT_EQ(platform.Label1.ForeColor(), kColorButtonText);
  EXPECT_EQ(platform.Label1.Caption(), u"32 x 32\r\n" + LengthText(png.size()) + u" Bytes\r\n\r\nFace Size: \r\n" +
                                           LengthText(platform.txt.Text().size()) + u" Zeichen");
  EXPECT_EQ(platform.Events.passes(), 1);
  EXPECT_EQ(platform.frmBase64.pointerChanges(),
            (std::vector{MousePointer::kHourglass, MousePointer::kDefault}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FileBrowserTest, OversizePictureIsShownWithRedNotice) {
  const std::string png = MakePng(64, 64);
  ASSERT_LT(png.size(), 726u);
  AddFile("big-picture.png", png);
  ClickFile("big-picture.png");
  ExpectLoaded(png);
  EXPECT_EQ(platform.Label1.Caption(), u"64 x 64" + kTooLarge);
  EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);
}

TEST_F(FileBrowserTest, SizeGateAndSizeTexts) {
  AddFile("limit.png", std::string(725, 'x'));
  ClickFile("limit.png");
  EXPECT_EQ(platform.txt.Text().size(), 968u);  // accepted: the code shows even though no picture opens

  const std::pair<std::size_t, std::u16string> refused[] = {
      {726, u"726 bytes"}, {1023, u"1023 bytes"}, {1024, u"1, KB"}, {1152, u"1,13 KB"},
      {1536, u"1,5 KB"},   {2000, u"1,95 KB"},    {10240, u"10, KB"}};
  for (const auto& [length, text] : refused) {
    SCOPED_TRACE(length);
    ClickFileOfLength(length);
    ExpectRefused(text);
  }
}

TEST_F(FileBrowserTest, EmptyOrBrokenFileKeepsItsCodeAndWarns) {
  AddFile("empty.png", "");
  ClickFile("empty.png");
  EXPECT_EQ(platform.txt.Text(), u"");
  EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Bitmap kann nicht geöffnet werden"});

  AddFile("text.png", "no picture at all");
  ClickFile("text.png");
  EXPECT_EQ(platform.txt.Text(), FaceCode("no picture at all"));
  EXPECT_TRUE(platform.cmdSave.Enabled());
  EXPECT_FALSE(platform.cmdSavePic.Enabled());
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(FileBrowserTest, UnreadableFileIsReportedAndLeavesTheWindowAsBeforeTheClick) {
  AddFile("shown.png", MakePng(8, 8));
  struct Case {
    const char* name;
    const char* selectedBefore;
    std::function<void(const MemoryFolder& folder, const char* name)> spoil;
  };
  const Case cases[] = {
      {"vanished.png", "", [](const MemoryFolder& folder, const char* name) { folder.Remove(name); }},
      {"dangling.png", "shown.png",
       [](const MemoryFolder& folder, const char* name) { folder.MakeLink(name, "nowhere.png"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AddFile(c.name, MakePng(4, 4));
    if (*c.selectedBefore != '\0') ClickFile(c.selectedBefore);
    const std::u16string code = platform.txt.Text();
    const std::u16string caption = platform.Label1.Caption();
    const int draws = platform.Picture1.draws();
    platform.Messages.Forget();
    c.spoil(pictures, c.name);
    ClickFile(c.name);
    EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Datei nicht gefunden"});
    EXPECT_EQ(platform.lstFile.FileName(), U16(c.selectedBefore));
    EXPECT_EQ(platform.txt.Text(), code);
    EXPECT_EQ(platform.Label1.Caption(), caption);
    EXPECT_EQ(platform.Picture1.draws(), draws);
  }
}

TEST_F(FileBrowserTest, VanishedFoldersGiveWayToTheNearestOneAboveAndTheListsAgree) {
  const MemoryFolder otherVolume(disk, "/media/other");
  headless::HeadlessOptions options;
  options.volumes = {{u"/", u"/dev/test"}, {otherVolume.Path(), u"/dev/other"}};
  options.workingFolder = pictures.Path("gone/deeper");
  headless::HeadlessPlatform twoDrives(FrmBase64Table(), disk, options);
  FrmBase64 logic(twoDrives.form());
  twoDrives.Start(logic);
  EXPECT_EQ(twoDrives.lstDir.Path(), pictures.Path());
  EXPECT_EQ(twoDrives.lstFile.Path(), pictures.Path());

  pictures.MakeFolder("sub/inner");
  twoDrives.lstDir.Open(pictures.Path("sub/inner"));
  pictures.Remove("sub");
  twoDrives.lstDrive.SetDrive(otherVolume.Path() + u" [other]");
  twoDrives.lstDrive.SetDrive(u"/ [test]");
  EXPECT_TRUE(twoDrives.Messages.shown().empty());
  EXPECT_EQ(twoDrives.lstDir.Path(), pictures.Path());
  EXPECT_EQ(twoDrives.lstFile.Path(), pictures.Path());
}

TEST_F(FileBrowserTest, WarningStateClearsOnFolderChangesButLoadedStateStays) {
  ClickFileOfLength(2000);
  OpenSubfolder();
  EXPECT_EQ(platform.Label1.Caption(), u"");
  EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);  // still red: the next change clears again
  EXPECT_EQ(platform.lstFile.Path(), pictures.Path("sub"));

  const std::string png = MakePng(16, 16);
  pictures.Write("sub/ok.png", png);
  platform.lstFile.Refresh();
  ClickFile("ok.png");
  platform.lstDir.SetPath(pictures.Path());
  ExpectLoaded(png);
  EXPECT_EQ(platform.Label1.ForeColor(), kColorButtonText);
  EXPECT_EQ(platform.lstFile.FileName(), u"");
}

TEST_F(FileBrowserTest, ClickWithoutSelectionDoesNothing) {
  platform.cmdLoad.Click();
  EXPECT_EQ(platform.Events.passes(), 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FileBrowserTest, SecondClickDuringThePassOverEventsRunsNestedAndTheFirstFinishesWithItsOwnFile) {
  const std::string first = MakePng(8, 8);
  const std::string second = MakePng(16, 16);
  AddFile("a.png", first);
  AddFile("b.png", second);
  platform.Events.Post([this] { ClickFile("b.png"); });
  ClickFile("a.png");
  EXPECT_EQ(platform.txt.Text(), FaceCode(first));
  EXPECT_EQ(platform.Picture1.picture()->source, pictures.Path("a.png"));
  EXPECT_EQ(platform.Picture1.draws(), 2);
}

TEST_F(FileBrowserTest, UnreadyDriveIsReportedAndTheProgramsDriveComesBack) {
  headless::HeadlessOptions options;
  disk.AddFolder(u"/media/stick");
  disk.SetNotReady(u"/media/stick", true);
  options.volumes = {{u"/", u"/dev/test"}, {u"/media/stick", u"/dev/gone"}};
  options.workingFolder = pictures.Path();
  headless::HeadlessPlatform twoDrives(FrmBase64Table(), disk, options);
  FrmBase64 logic(twoDrives.form());
  twoDrives.Start(logic);

  twoDrives.lstDrive.SetDrive(u"/media/stick [gone]");
  ASSERT_EQ(twoDrives.Messages.shown().size(), 1u);
  EXPECT_EQ(twoDrives.Messages.shown()[0].prompt, u"Datenträger nicht bereit");
  EXPECT_EQ(twoDrives.Messages.shown()[0].style, kMsgBoxExclamation);
  EXPECT_EQ(twoDrives.lstDrive.Drive(), u"/ [test]");
  EXPECT_EQ(twoDrives.lstDir.Path(), pictures.Path());
}

}  // namespace
}  // namespace velmora::test
