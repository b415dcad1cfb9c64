// SPDX-License-Identifier: GPL-3.0-or-later
// The contract every platform keeps, run against each implementation.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/browser_state.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/contract/harness.h"
#include "tests/support/png_maker.h"
#include "tests/support/raised_error.h"

namespace velmora::contract {

std::unique_ptr<Harness> MakeHeadlessHarness(const HarnessSetup& setup);
#ifdef VELMORA_CONTRACT_WITH_QT
std::unique_ptr<Harness> MakeQtHarness(const HarnessSetup& setup);
#endif

namespace {

using test::RaisedError;

// Logs every event; a test may hang an action on the code box's Change.
class RecordingEvents : public FormEvents {
 public:
  void Form_Load() override { log.push_back("Load"); }
  void Command1_Click() override { log.push_back("Command1"); }
  void txt_GotFocus() override { log.push_back("GotFocus"); }
  void txt_Change() override {
    log.push_back("Change");
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    if (onChange) onChange();
    --depth;
  }
  void cmdLoad_Click() override { log.push_back("cmdLoad"); }
  void cmdSave_Click() override { log.push_back("cmdSave"); }
  void cmdPaste_Click() override { log.push_back("cmdPaste"); }
  void cmdSavePic_Click() override { log.push_back("cmdSavePic"); }
  void lstFile_Click() override { log.push_back("lstFile"); }
  void lstDir_Change() override { log.push_back("lstDir"); }
  void lstDrive_Change() override { log.push_back("lstDrive"); }
  void lstFile_FitIntoFace(int index) override { log.push_back("FitIntoFace " + std::to_string(index)); }
  void lstFile_FrameIntoFace(int index) override { log.push_back("FrameIntoFace " + std::to_string(index)); }
  void lstFile_CopyXFaceHeader(int index) override { log.push_back("CopyXFaceHeader " + std::to_string(index)); }
  void txt_CopyHeader() override { log.push_back("CopyHeader"); }
  void txt_CopyFoldedHeader() override { log.push_back("CopyFoldedHeader"); }
  void txt_CopyXFaceHeader() override { log.push_back("CopyXFaceHeader"); }
  void txt_PasteXFace() override { log.push_back("PasteXFace"); }
  void txt_PasteClipboardPicture() override { log.push_back("PasteClipboardPicture"); }
  void txt_FrameClipboardPicture() override { log.push_back("FrameClipboardPicture"); }
  bool txt_CopyHeaderAvailable() override { return copyHeaderAvailable; }
  bool txt_ClipboardPictureAvailable() override { return false; }
  void Form_DropFile(const std::u16string& path) override { log.push_back("Drop " + ToUtf8(path)); }
  ToolTip Label1_ToolTip() override { return toolTip; }

  [[nodiscard]] long Count(const std::string& event) const { return std::count(log.begin(), log.end(), event); }

  std::vector<std::string> log;
  std::function<void()> onChange;
  int depth = 0;
  int maxDepth = 0;
  bool copyHeaderAvailable = false;
  ToolTip toolTip;
};

class PlatformContract : public ::testing::TestWithParam<PlatformUnderTest> {
 protected:
  PlatformContract() {
    folder.AddFile("b.png", "b");
    folder.AddFile("A.PNG", "a");
    folder.AddFile("c.Png", "c");
    folder.AddFile(".hidden.png", "h");
    folder.AddFile("notes.txt", "t");
    folder.AddFolder("sub.png");
    harness = Started({{u"/", u"/dev/root"}, {u"/velmora-no-such-volume", u"/dev/gone"}}, folder.Path());
    harness->Start(events);
    events.log.clear();
  }

  Form& form() { return harness->form(); }
  [[nodiscard]] std::unique_ptr<Harness> Started(std::vector<Volume> volumes, std::u16string workingFolder) {
    return GetParam().makeHarness({std::move(volumes), std::move(workingFolder), folder.files()});
  }

  std::unique_ptr<Disk> disk = GetParam().makeDisk();
  Disk& folder = *disk;
  RecordingEvents events;
  std::unique_ptr<Harness> harness;
};

TEST_P(PlatformContract, TextWritesRaiseChangeOnlyForADifferentTextAndNest) {
  form().txt.SetText(u"abc");
  EXPECT_EQ(events.Count("Change"), 1);
  form().txt.SetText(u"abc");
  EXPECT_EQ(events.Count("Change"), 1);

  // The handler's own changing writes run it again inside the write.
  events.onChange = [this] {
    const std::u16string text = form().txt.Text();
    if (!text.empty()) form().txt.SetText(text.substr(1));
  };
  form().txt.SetText(u"wxyz");
  EXPECT_EQ(form().txt.Text(), u"");
  EXPECT_EQ(events.Count("Change"), 6);
  EXPECT_EQ(events.maxDepth, 5);
  EXPECT_EQ(events.depth, 0);  // every run has finished when the outer write returns
}

TEST_P(PlatformContract, TextAndTagReadBackExactly) {
  const std::u16string text = u"a\r\nb\rc\nd\r\n\r\n";
  form().txt.SetText(text);
  EXPECT_EQ(form().txt.Text(), text);
  const std::u16string tag(u"\0x\0\u20AC", 4);
  form().txt.SetTag(tag);
  EXPECT_EQ(form().txt.Tag(), tag);
}

TEST_P(PlatformContract, UserTypingRaisesChangeAndReadsWithCrLf) {
  harness->TypeIntoCode(u"Q");
  EXPECT_EQ(form().txt.Text(), u"Q");
  EXPECT_GE(events.Count("Change"), 1);
}

TEST_P(PlatformContract, ColoursReadBackAsWritten) {
  for (OleColor color : {kColorRed, kColorButtonText, OleColor{0x00FF00}}) {
    form().Label1.SetForeColor(color);
    EXPECT_EQ(form().Label1.ForeColor(), color);
  }
}

TEST_P(PlatformContract, FileListShowsVisiblePngFilesAndNoSelectionAfterChanges) {
  EXPECT_EQ(form().lstFile.Path(), folder.Path());
  harness->ClickFileEntry(0);
  EXPECT_EQ(form().lstFile.FileName(), u"A.PNG");
  EXPECT_EQ(events.Count("lstFile"), 1);

  harness->PressDownInFileList();
  EXPECT_EQ(form().lstFile.FileName(), u"b.png");
  EXPECT_EQ(events.Count("lstFile"), 2);

  form().lstFile.SetSelected(form().lstFile.ListIndex(), false);
  EXPECT_EQ(form().lstFile.FileName(), u"");
  EXPECT_EQ(form().lstFile.ListIndex(), -1);

  harness->ClickFileEntry(2);
  EXPECT_EQ(form().lstFile.FileName(), u"c.Png");
  form().lstFile.SetPath(folder.Path());
  EXPECT_EQ(form().lstFile.FileName(), u"");
  EXPECT_EQ(events.Count("lstFile"), 3);  // programmatic changes raise no Click
}

TEST_P(PlatformContract, EveryClickOnAnEntryRaisesClickAndOnlyTheProgramEmptiesTheSelection) {
  struct Step {
    const char* gesture;
    std::function<void()> act;
    std::u16string selected;
  };
  const Step steps[] = {
      {"click", [this] { harness->ClickFileEntry(1); }, u"b.png"},
      {"click on the selected entry", [this] { harness->ClickFileEntry(1); }, u"b.png"},
      {"Ctrl and click on the selected entry", [this] { harness->ClickFileEntry(1, true); }, u"b.png"},
      {"click below the entries", [this] { harness->ClickBelowFileEntries(); }, u"b.png"},
      {"Ctrl and click on another entry", [this] { harness->ClickFileEntry(0, true); }, u"A.PNG"},
  };
  long clicks = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.gesture);
    const bool onEntry = step.gesture != std::string("click below the entries");
    step.act();
    clicks += onEntry ? 1 : 0;
    EXPECT_EQ(form().lstFile.FileName(), step.selected);
    EXPECT_EQ(events.Count("lstFile"), clicks);
  }
}

TEST_P(PlatformContract, RestoringTheSelectionGoesBackToTheEntryBeforeWithoutAClick) {
  form().lstFile.RestorePreviousSelection();
  EXPECT_EQ(form().lstFile.ListIndex(), -1);
  harness->ClickFileEntry(0);
  harness->ClickFileEntry(2);
  form().lstFile.RestorePreviousSelection();
  EXPECT_EQ(form().lstFile.FileName(), u"A.PNG");
  form().lstFile.SetSelected(1, true);
  form().lstFile.RestorePreviousSelection();
  EXPECT_EQ(form().lstFile.FileName(), u"A.PNG");
  form().lstFile.SetPath(folder.Path());
  harness->ClickFileEntry(1);
  form().lstFile.RestorePreviousSelection();
  EXPECT_EQ(form().lstFile.ListIndex(), -1);
  EXPECT_EQ(events.Count("lstFile"), 3);
}

TEST_P(PlatformContract, OnlyFocusFromAnotherControlRaisesGotFocus) {
  harness->TabIntoCode();
  EXPECT_EQ(events.Count("GotFocus"), 1);
  for (const auto arrival : {headless::FocusArrival::kWindowActivated, headless::FocusArrival::kDialogClosed}) {
    harness->ReturnFocusToCode(arrival);
    EXPECT_EQ(events.Count("GotFocus"), 1) << static_cast<int>(arrival);
  }
  harness->ReturnFocusToCode(headless::FocusArrival::kFromAnotherControl);
  EXPECT_EQ(events.Count("GotFocus"), 2);
}

TEST_P(PlatformContract, ReturnAndTheKeypadsEnterPressTheFocusedButton) {
  harness->PressReturnOn("cmdPaste", false);
  harness->PressReturnOn("cmdPaste", true);
  EXPECT_EQ(events.Count("cmdPaste"), 2);
}

TEST_P(PlatformContract, EveryEntryLeadsToItsOwnFileWhateverBytesItsNameHolds) {
  // Two names that show alike: one with a byte that is no UTF-8, one with a
  // real U+FFFD. And a folder whose name is no UTF-8 either.
  const std::map<std::string, std::string> files = {
      {"bad\xFF.png", test::MakePng(1, 2)}, {"bad\xEF\xBF\xBD.png", test::MakePng(3, 4)}, {"\xC3(.png", "broken pair"}};
  for (const auto& [name, bytes] : files) folder.AddFile(name, bytes);
  folder.AddFolder("raw\xFE");
  folder.AddFile("raw\xFE/inner.png", "inner");
  form().lstFile.Refresh();

  std::map<std::string, std::string> listed;
  for (int index = 0; index < form().lstFile.ListCount(); ++index) {
    const std::u16string path = JoinPath(form().lstFile.Path(), form().lstFile.List(index));
    listed[ToNativeName(form().lstFile.List(index))] = form().Files.ReadFile(path);
  }
  for (const auto& [name, bytes] : files) EXPECT_EQ(listed[name], bytes) << name;
  // The picture library too opens each file by its own bytes.
  for (const auto& [name, size] : {std::pair{"bad\xFF.png", 1.0f}, std::pair{"bad\xEF\xBF\xBD.png", 3.0f}}) {
    std::unique_ptr<Image> image;
    ASSERT_EQ(form().Pictures.LoadImageFromFile(JoinPath(folder.Path(), FromNativeName(name)), image),
              kPictureOk) << name;
    float width = 0;
    float height = 0;
    ASSERT_EQ(form().Pictures.GetImageDimension(*image, width, height), kPictureOk);
    EXPECT_EQ(width, size) << name;
  }
  const std::u16string rawName = FromNativeName("bad\xFF.png");
  EXPECT_EQ(form().Files.Dir(JoinPath(folder.Path(), rawName), kAttrReadOnly), rawName);

  form().lstDir.SetPath(JoinPath(folder.Path(), FromNativeName("raw\xFE")));
  EXPECT_EQ(form().lstFile.Path(), folder.Path());  // the handler recorder moves nothing
  form().lstFile.SetPath(form().lstDir.Path());
  ASSERT_EQ(form().lstFile.ListCount(), 1);
  form().Files.WriteNewFile(JoinPath(form().lstFile.Path(), FromNativeName("new\xFD.png")), "new");
  EXPECT_EQ(folder.Bytes("raw\xFE/new\xFD.png"), "new");
}

TEST_P(PlatformContract, ListsStartInTheNearestFolderAboveAVanishedWorkingFolder) {
  const auto started = Started({{u"/", u"/dev/root"}}, folder.Path("gone/deeper"));
  EXPECT_EQ(started->form().lstDir.Path(), folder.Path());
  EXPECT_EQ(started->form().lstFile.Path(), folder.Path());
  EXPECT_EQ(started->form().lstFile.ListCount(), 3);
}

TEST_P(PlatformContract, ADrivesVanishedFolderGivesWayToTheNearestOneAbove) {
  folder.AddFolder("sub.png/inner");
  form().lstDir.SetPath(folder.Path("sub.png/inner"));
  folder.Remove("sub.png");
  form().lstDrive.SetDrive(u"/velmora-no-such-volume [gone]");
  form().lstDrive.SetDrive(u"/ [root]");
  form().lstDir.SetPath(form().lstDrive.Drive());
  EXPECT_EQ(form().lstDir.Path(), folder.Path());
}

TEST_P(PlatformContract, FolderPathsEndInASeparatorOnlyAtTheRoot) {
  form().lstDir.SetPath(folder.Path("sub.png/"));
  EXPECT_EQ(form().lstDir.Path(), folder.Path("sub.png"));
  EXPECT_EQ(events.Count("lstDir"), 1);
  form().lstDir.SetPath(folder.Path("sub.png"));
  EXPECT_EQ(events.Count("lstDir"), 1);

  form().lstFile.SetPath(u"/");
  EXPECT_EQ(form().lstFile.Path(), u"/");
  form().lstDir.SetPath(u"/");
  EXPECT_EQ(form().lstDir.Path(), u"/");
}

TEST_P(PlatformContract, DrivesAreVolumesAndAnUnreadableOneRaises71) {
  EXPECT_EQ(form().lstDrive.Drive(), u"/ [root]");
  form().lstDrive.SetDrive(u"/velmora-no-such-volume/some/folder");
  EXPECT_EQ(form().lstDrive.Drive(), u"/velmora-no-such-volume [gone]");
  EXPECT_EQ(events.Count("lstDrive"), 1);
  form().lstDrive.SetDrive(u"/velmora-no-such-volume [gone]");
  EXPECT_EQ(events.Count("lstDrive"), 1);

  EXPECT_EQ(RaisedError([this] { form().lstDir.SetPath(form().lstDrive.Drive()); }), kErrDeviceUnavailable);
  EXPECT_EQ(form().lstDir.Path(), folder.Path());
  EXPECT_EQ(RaisedError([this] { form().lstDir.SetPath(folder.Path("missing")); }), kErrPathNotFound);
}

TEST_P(PlatformContract, CancelledSaveDialogRaises32755AndKeepsTheName) {
  SaveDialog& dialog = form().CommonDialog1;
  dialog.SetCancelError(true);
  dialog.SetFlags(kDialogOverwritePrompt);
  dialog.SetDialogTitle(u"Face-Code in Textdatei speichern");
  dialog.SetFilter(u"Textdateien (*.txt)|*.txt");
  dialog.SetFileName(folder.Path("face.txt"));
  harness->CancelNextSaveDialog();
  EXPECT_EQ(RaisedError([&dialog] { dialog.ShowSave(); }), kErrCancel);
  EXPECT_EQ(dialog.FileName(), folder.Path("face.txt"));
}

TEST_P(PlatformContract, FileListNamesItsEntriesByPosition) {
  EXPECT_EQ(form().lstFile.ListCount(), 3);
  EXPECT_EQ(form().lstFile.List(0), u"A.PNG");
  EXPECT_EQ(form().lstFile.List(2), u"c.Png");
  EXPECT_EQ(form().lstFile.List(3), u"");
  EXPECT_EQ(form().lstFile.List(-1), u"");
}

TEST_P(PlatformContract, FileEntryMenuActsOnTheEntryUnderThePointerWithoutSelectingIt) {
  harness->ChooseFileEntryMenu(1);
  EXPECT_EQ(events.log, std::vector<std::string>{"FitIntoFace 1"});
  EXPECT_EQ(form().lstFile.ListIndex(), -1);
}

TEST_P(PlatformContract, CodeMenuEntryIsGreyedWhileTheHandlersSaySo) {
  EXPECT_FALSE(harness->CodeMenuEntryEnabled());
  harness->ChooseCodeMenuEntry();
  EXPECT_EQ(events.Count("CopyHeader"), 0);

  events.copyHeaderAvailable = true;
  EXPECT_TRUE(harness->CodeMenuEntryEnabled());
  harness->ChooseCodeMenuEntry();
  EXPECT_EQ(events.Count("CopyHeader"), 1);
}

TEST_P(PlatformContract, ClipboardReadsBackTheTextSet) {
  form().Clipboard.SetText(u"Face: iVBORw0KGgo=");
  EXPECT_EQ(form().Clipboard.GetText(kClipboardText), u"Face: iVBORw0KGgo=");
  EXPECT_FALSE(form().Clipboard.HasPicture());
  EXPECT_EQ(form().Clipboard.GetPicture(), "");
}

// Linux programs copy text with LF, Windows programs with CR LF, old Mac
// programs with a lone CR; the logic sees CR LF for each, and other programs
// get LF back.
TEST_P(PlatformContract, TextFromTheDesktopReadsWithCrLfLineBreaksAndGoesBackWithLf) {
  const std::u16string copied[] = {u"Face: iVBO\n Rw0K\n", u"Face: iVBO\r\n Rw0K\r\n", u"Face: iVBO\r Rw0K\r"};
  for (const std::u16string& text : copied) {
    SCOPED_TRACE(ToUtf8(text));
    harness->CopyTextElsewhere(text);
    EXPECT_EQ(form().Clipboard.GetText(kClipboardText), u"Face: iVBO\r\n Rw0K\r\n");
    harness->DropTextOntoCode(text);
    EXPECT_EQ(form().txt.Text(), u"Face: iVBO\r\n Rw0K\r\n");
    form().txt.SetText(u"");
  }
  form().Clipboard.SetText(u"a\r\nb");
  EXPECT_EQ(harness->TextPastedElsewhere(), u"a\nb");
}

TEST_P(PlatformContract, PictureCopiedAsAPngFileReadsBackAsThatFileUntilTextReplacesIt) {
  const std::string png = test::MakePng(5, 3);
  harness->CopyPictureElsewhere(png);
  EXPECT_TRUE(form().Clipboard.HasPicture());
  EXPECT_EQ(form().Clipboard.GetPicture(), png);
  EXPECT_EQ(form().Clipboard.GetText(kClipboardText), u"");

  form().Clipboard.SetText(u"Hallo");
  EXPECT_FALSE(form().Clipboard.HasPicture());
  EXPECT_EQ(form().Clipboard.GetPicture(), "");
}

TEST_P(PlatformContract, OnlyASingleListedPictureFileIsTakenFromADrop) {
  folder.AddFolder("elsewhere");
  folder.AddFile("elsewhere/face.png", "f");
  EXPECT_TRUE(harness->DropFiles({folder.Path("elsewhere/face.png")}));
  EXPECT_EQ(events.log, std::vector<std::string>{"Drop " + folder.Native("elsewhere/face.png")});

  events.log.clear();
  const std::vector<std::vector<std::u16string>> refused = {
      {folder.Path("notes.txt")},
      {folder.Path(".hidden.png")},
      {folder.Path("sub.png")},
      {folder.Path("missing.png")},
      {folder.Path("b.png"), folder.Path("c.Png")},
  };
  for (const auto& paths : refused) {
    SCOPED_TRACE(ToUtf8(paths.front()));
    EXPECT_FALSE(harness->DropFiles(paths));
  }
  EXPECT_TRUE(events.log.empty());
}

TEST_P(PlatformContract, TextDroppedOntoTheCodeBoxGoesInAsTyped) {
  harness->DropTextOntoCode(u"iVBOR");
  EXPECT_EQ(form().txt.Text(), u"iVBOR");
  EXPECT_GE(events.Count("Change"), 1);
}

TEST_P(PlatformContract, ReportToolTipIsTheHandlersAnswerAsItShows) {
  const ToolTip answers[] = {
      {u"Erste Zeile\r\nZweite Zeile", ""},
      {u"<b>nicht fett</b>", ""},
      {u"Neben dem Bild: <b> & \"Zeile\"\r\nZweite Zeile", test::MakePng(48, 48)},
      {},
  };
  EXPECT_EQ(harness->ReportToolTip(), ToolTip());
  for (const ToolTip& answer : answers) {
    SCOPED_TRACE(ToUtf8(answer.text));
    events.toolTip = answer;
    EXPECT_EQ(harness->ReportToolTip(), answer);
  }
}

TEST_P(PlatformContract, ApplicationKnowsItsVersion) {
  EXPECT_EQ(form().App.Major(), 1);
  EXPECT_EQ(form().App.Minor(), 0);
  EXPECT_EQ(form().App.Revision(), 20);
  EXPECT_FALSE(form().App.Path().empty());
}

INSTANTIATE_TEST_SUITE_P(Headless, PlatformContract,
                         ::testing::Values(PlatformUnderTest{&MakeMemoryDisk, &MakeHeadlessHarness}));
#ifdef VELMORA_CONTRACT_WITH_QT
INSTANTIATE_TEST_SUITE_P(Qt, PlatformContract, ::testing::Values(PlatformUnderTest{&MakePosixDisk, &MakeQtHarness}));
#endif

}  // namespace
}  // namespace velmora::contract
