// The contract every platform keeps, run against each implementation.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/text.h"
#include "tests/contract/harness.h"
#include "tests/support/raised_error.h"
#include "tests/support/temp_folder.h"

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

  [[nodiscard]] long Count(const std::string& event) const { return std::count(log.begin(), log.end(), event); }

  std::vector<std::string> log;
  std::function<void()> onChange;
  int depth = 0;
  int maxDepth = 0;
};

class PlatformContract : public ::testing::TestWithParam<HarnessFactory> {
 protected:
  PlatformContract() {
    folder.Write("b.png", "b");
    folder.Write("A.PNG", "a");
    folder.Write("c.Png", "c");
    folder.Write(".hidden.png", "h");
    folder.Write("notes.txt", "t");
    std::filesystem::create_directory(folder.Native("sub.png"));
    harness = GetParam()({{{u"/", u"/dev/root"}, {u"/velmora-no-such-volume", u"/dev/gone"}},
                          FromUtf8(folder.path())});
    harness->Start(events);
    events.log.clear();
  }

  Form& form() { return harness->form(); }

  test::TempFolder folder;
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
  EXPECT_EQ(form().lstFile.Path(), FromUtf8(folder.path()));
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
  form().lstFile.SetPath(FromUtf8(folder.path()));
  EXPECT_EQ(form().lstFile.FileName(), u"");
  EXPECT_EQ(events.Count("lstFile"), 3);  // programmatic changes raise no Click
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
  EXPECT_EQ(form().lstDir.Path(), FromUtf8(folder.path()));
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

TEST_P(PlatformContract, DirFindsHiddenFilesOnlyWithTheirMask) {
  EXPECT_EQ(form().Files.Dir(folder.Path(".hidden.png"), kAttrReadOnly), u"");
  EXPECT_EQ(form().Files.Dir(folder.Path(".hidden.png"), kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrFolder),
            u".hidden.png");
}

TEST_P(PlatformContract, ApplicationKnowsItsVersion) {
  EXPECT_EQ(form().App.Major(), 1);
  EXPECT_EQ(form().App.Minor(), 0);
  EXPECT_EQ(form().App.Revision(), 20);
  EXPECT_FALSE(form().App.Path().empty());
}

INSTANTIATE_TEST_SUITE_P(Headless, PlatformContract, ::testing::Values(&MakeHeadlessHarness));
#ifdef VELMORA_CONTRACT_WITH_QT
INSTANTIATE_TEST_SUITE_P(Qt, PlatformContract, ::testing::Values(&MakeQtHarness));
#endif

}  // namespace
}  // namespace velmora::contract
