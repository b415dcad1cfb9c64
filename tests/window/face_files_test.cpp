// SPDX-License-Identifier: GPL-3.0-or-later
// Face files made from the file list's context menu, picture files dropped
// onto the window, and Faces fitted from a picture on the clipboard.

#include "fit/fit_error.h"
#include "fit/fit_picture.h"
#include "platform/browser_state.h"
#include "platform/bytes.h"
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

using headless::PlatformCall;

class FaceFilesTest : public WindowTest {
 protected:
  void FitIntoFace(const std::string& name) {
    ASSERT_TRUE(platform.lstFile.ChooseContextMenuEntry(U16(name), u"Als Face anpassen")) << name;
  }

  // Selected in the lists and shown as a click on it shows it.
  void ExpectEncoded(const std::u16string& path) {
    const std::string bytes = disk.Bytes(path).value_or("");
    EXPECT_EQ(JoinPath(platform.lstFile.Path(), platform.lstFile.FileName()), path);
    EXPECT_EQ(platform.txt.Text(), FaceCode(bytes));
    ASSERT_TRUE(platform.Picture1.picture());
    EXPECT_EQ(platform.Picture1.picture()->source, path);
    EXPECT_TRUE(platform.cmdSave.Enabled());
    EXPECT_TRUE(platform.cmdSavePic.Enabled());
  }
};

TEST_F(FaceFilesTest, FaceIsWrittenNextToThePictureThenSelectedEncodedAndReported) {
  const std::string photo = MakePng(64, 64);
  AddFile("photo.png", photo);
  FitIntoFace("photo.png");

  const std::string face = pictures.Read("photo-face.png");
  EXPECT_LE(face.size(), 725u);
  ExpectEncoded(pictures.Path("photo-face.png"));
  EXPECT_EQ(platform.Label1.Caption(), u"48 x 48\r\n" + LengthText(face.size()) + u" Bytes\r\n\r\nFace Size: \r\n" +
                                           LengthText(platform.txt.Text().size()) + u" Zeichen");
  EXPECT_EQ(platform.Label1.ForeColor(), kColorButtonText);
  EXPECT_EQ(pictures.Read("photo.png"), photo);
  EXPECT_EQ(platform.frmBase64.mousePointer(), MousePointer::kDefault);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FaceFilesTest, EachFaceTakesTheNextFreeNameAndNothingIsOverwritten) {
  AddFile("smile.png", MakePng(64, 64));
  for (const char* expected : {"smile-face.png", "smile-face-2.png", "smile-face-3.png"}) {
    FitIntoFace("smile.png");
    EXPECT_EQ(platform.lstFile.FileName(), U16(expected));
  }

  AddFile("Logo.PNG", MakePng(64, 64));
  pictures.Write("Logo-face.PNG", "the user's own");
  pictures.MakeFolder("Logo-face-2.PNG");
  FitIntoFace("Logo.PNG");
  EXPECT_EQ(platform.lstFile.FileName(), u"Logo-face-3.PNG");
  EXPECT_EQ(pictures.Read("Logo-face.PNG"), "the user's own");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FaceFilesTest, PictureThatCannotBeDecodedIsReportedAndNothingIsWritten) {
  const std::string smile = MakePng(32, 32);
  AddFile("smile.png", smile);
  AddFile("broken.png", "not a picture");
  ClickFile("smile.png");
  const std::string before = pictures.ListNames();

  FitIntoFace("broken.png");
  EXPECT_EQ(Messages(), std::vector{std::u16string(fit::FitErrorText(fit::FitError::kUnreadable))});
  EXPECT_EQ(pictures.ListNames(), before);
  EXPECT_EQ(platform.lstFile.FileName(), u"smile.png");
  EXPECT_EQ(platform.txt.Text(), FaceCode(smile));
}

TEST_F(FaceFilesTest, FolderThatRefusesTheNewFileIsReportedAndNothingIsWritten) {
  AddFile("photo.png", MakePng(64, 64));
  const std::string before = pictures.ListNames();
  platform.Faults.FailNthCall(1, kErrPermissionDenied, PlatformCall::kWriteNewFile);
  FitIntoFace("photo.png");
  EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Zugriff verweigert"});
  EXPECT_EQ(pictures.ListNames(), before);
  EXPECT_EQ(platform.lstFile.FileName(), u"");
}

// Whatever call fails, the user hears of it once, and a Face file is either
// missing or whole.
TEST_F(FaceFilesTest, EveryFailingCallIsReportedOnceAndLeavesNoPartialFace) {
  AddFile("photo.png", MakePng(64, 64));
  platform.Faults.ResetCounts();
  FitIntoFace("photo.png");
  const std::string face = pictures.Read("photo-face.png");
  std::vector<std::pair<PlatformCall, int>> made;
  for (std::size_t kind = 0; kind < headless::kPlatformCallKinds; ++kind) {
    const auto call = static_cast<PlatformCall>(kind);
    made.emplace_back(call, platform.Faults.count(call));
  }

  for (const auto& [call, count] : made) {
    for (int nth = 1; nth <= count; ++nth) {
      for (const int number : {kErrPermissionDenied, kErrDeviceIo}) {
        SCOPED_TRACE(std::string(NameOf(call)) + " #" + std::to_string(nth) + " raising " + std::to_string(number));
        pictures.Remove("photo-face.png");
        platform.lstFile.Refresh();
        platform.Messages.Forget();
        platform.Faults.FailNthCall(nth, number, call);
        FitIntoFace("photo.png");
        ASSERT_TRUE(platform.Faults.fired());
        EXPECT_EQ(Messages(), std::vector{DescriptionOf(number)});
        EXPECT_FALSE(pictures.Exists("photo-face-2.png"));
        if (pictures.Exists("photo-face.png")) {
          EXPECT_EQ(pictures.Read("photo-face.png"), face);
        }
        EXPECT_EQ(platform.frmBase64.mousePointer(), MousePointer::kDefault);
      }
    }
  }
}

TEST_F(FaceFilesTest, DroppedPictureIsOpenedInItsFolderSelectedAndEncoded) {
  pictures.MakeFolder("sub");
  pictures.Write("sub/inner.png", MakePng(16, 16));
  ASSERT_TRUE(platform.frmBase64.DropFiles({pictures.Path("sub/inner.png")}));
  EXPECT_EQ(platform.lstDir.Path(), pictures.Path("sub"));
  ExpectEncoded(pictures.Path("sub/inner.png"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FaceFilesTest, PictureDroppedFromTheShownFolderIsFoundThoughListedBeforeItCame) {
  pictures.Write("new.png", MakePng(8, 8));
  ASSERT_TRUE(platform.frmBase64.DropFiles({pictures.Path("new.png")}));
  ExpectEncoded(pictures.Path("new.png"));
}

TEST_F(FaceFilesTest, DroppedPictureOnAnotherDriveSelectsThatDrive) {
  const MemoryFolder other(disk, "/media/other");
  other.Write("away.png", MakePng(8, 8));
  headless::HeadlessOptions options;
  options.volumes = {{u"/", u"/dev/test"}, {other.Path(), u"/dev/other"}};
  options.workingFolder = pictures.Path();
  headless::HeadlessPlatform twoDrives(FrmBase64Table(), disk, options);
  FrmBase64 logic(twoDrives.form());
  twoDrives.Start(logic);

  ASSERT_TRUE(twoDrives.frmBase64.DropFiles({other.Path("away.png")}));
  EXPECT_EQ(twoDrives.lstDrive.Drive(), other.Path() + u" [other]");
  EXPECT_EQ(twoDrives.lstDir.Path(), other.Path());
  EXPECT_EQ(twoDrives.lstFile.FileName(), u"away.png");
  EXPECT_EQ(twoDrives.txt.Text(), FaceCode(MakePng(8, 8)));
}

TEST_F(FaceFilesTest, RefusedDropChangesNothing) {
  pictures.Write("notes.txt", "t");
  const std::u16string folder = platform.lstDir.Path();
  EXPECT_FALSE(platform.frmBase64.DropFiles({pictures.Path("notes.txt")}));
  EXPECT_EQ(platform.lstDir.Path(), folder);
  EXPECT_EQ(platform.txt.Text(), u"");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FaceFilesTest, DroppedTextIsDecodedAsTypedText) {
  const std::string png = MakePng(32, 32);
  platform.txt.DropText(u"Face: " + FaceCode(png), 0);
  EXPECT_EQ(platform.txt.Text(), FaceCode(png));
  ASSERT_TRUE(platform.Picture1.picture());
  EXPECT_EQ(platform.Picture1.picture()->width, 32);
}

constexpr std::u16string_view kFaceFromClipboard = u"Bild aus Zwischenablage als Face";

TEST_F(FaceFilesTest, ClipboardPictureIsFittedIntoTheCodeBoxAndNothingIsWritten) {
  const std::string screenshot = MakePng(300, 200);
  const auto fitted = fit::FitPictureIntoFace(BytesOf(screenshot));
  ASSERT_TRUE(std::holds_alternative<fit::FitResult>(fitted));
  const std::string before = pictures.ListNames();

  platform.Clipboard.SetPicture(screenshot);
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kFaceFromClipboard));
  EXPECT_EQ(platform.txt.Text(), FaceCode(std::get<fit::FitResult>(fitted).png));
  ASSERT_TRUE(platform.Picture1.picture());
  EXPECT_TRUE(platform.cmdSave.Enabled());
  EXPECT_TRUE(platform.cmdSavePic.Enabled());
  EXPECT_TRUE(platform.Label1.Caption().starts_with(u"48 x 48\r\n"));
  EXPECT_EQ(pictures.ListNames(), before);
  EXPECT_EQ(platform.frmBase64.mousePointer(), MousePointer::kDefault);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FaceFilesTest, ClipboardWithoutAUsablePictureLeavesTheCodeBox) {
  const std::u16string code = FaceCode(MakePng(16, 16));
  platform.txt.Type(code);

  platform.Clipboard.SetText(code);
  EXPECT_FALSE(platform.txt.ContextMenuEntryEnabled(kFaceFromClipboard));
  EXPECT_FALSE(platform.txt.ChooseContextMenuEntry(kFaceFromClipboard));

  platform.Clipboard.SetPicture("not a picture");
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kFaceFromClipboard));
  EXPECT_EQ(Messages(), std::vector{std::u16string(fit::FitErrorText(fit::FitError::kUnreadable))});
  EXPECT_EQ(platform.txt.Text(), code);
}

}  // namespace
}  // namespace velmora::test
