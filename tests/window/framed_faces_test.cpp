// SPDX-License-Identifier: GPL-3.0-or-later
// Faces of a square framed in "Ausschnitt wählen": from the file list, from
// the clipboard, and from a photo dropped onto the window.

#include "fit/fit_error.h"
#include "fit/fit_picture.h"
#include "fit/png_decode.h"
#include "platform/bytes.h"
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

constexpr std::u16string_view kFrameFile = u"Ausschnitt als Face …";
constexpr std::u16string_view kFrameClipboard = u"Ausschnitt aus Zwischenablage als Face …";

// The Face the fit makes of that square of the PNG file.
std::string FaceOfSquare(const std::string& png, const framing::Frame& frame) {
  const auto decoded = fit::DecodePng(BytesOf(png));
  const auto face = fit::FitSquareIntoFace(std::get<fit::Picture>(decoded),
                                           {double(frame.left), double(frame.top), double(frame.size)});
  return std::get<fit::FitResult>(face).png;
}

class FramedFacesTest : public WindowTest {
 protected:
  void AnswerWith(std::optional<framing::Frame> frame) {
    platform.Framing.AnswerWith([frame](framing::Frame) { return frame; });
  }

  const std::string photo = MakePng(120, 60);
};

TEST_F(FramedFacesTest, FileListEntryWritesTheFaceOfTheFrameBesideThePictureAndSelectsIt) {
  AddFile("photo.png", photo);
  const framing::Frame chosen{10, 5, 40};
  AnswerWith(chosen);
  ASSERT_TRUE(platform.lstFile.ChooseContextMenuEntry(u"photo.png", kFrameFile));

  const std::string face = pictures.Read("photo-face.png");
  EXPECT_EQ(face, FaceOfSquare(photo, chosen));
  EXPECT_EQ(platform.lstFile.FileName(), u"photo-face.png");
  EXPECT_EQ(platform.txt.Text(), FaceCode(face));
  ASSERT_EQ(platform.Framing.offers().size(), 1u);
  const auto& offer = platform.Framing.offers().front();
  EXPECT_EQ(offer.first, (framing::Frame{30, 0, 60}));  // the largest square, centred across
  EXPECT_EQ(offer.picture.width, 120);
  EXPECT_EQ(offer.exact.bytes, face.size());
  EXPECT_EQ(offer.quick.rgba.size(), 48u * 48u * 4u);
  EXPECT_EQ(offer.exact.xFace.size(), 48u * 48u);
  EXPECT_EQ(platform.frmBase64.mousePointer(), MousePointer::kDefault);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FramedFacesTest, CancellingWritesNothingAndLeavesTheBox) {
  AddFile("photo.png", photo);
  const std::string before = pictures.ListNames();
  AnswerWith(std::nullopt);
  ASSERT_TRUE(platform.lstFile.ChooseContextMenuEntry(u"photo.png", kFrameFile));
  platform.Clipboard.SetPicture(photo);
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kFrameClipboard));

  EXPECT_EQ(pictures.ListNames(), before);
  EXPECT_EQ(platform.txt.Text(), u"");
  EXPECT_EQ(platform.Framing.offers().size(), 2u);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FramedFacesTest, ClipboardPictureAndDroppedPhotoPutTheFaceIntoTheBoxWithoutWriting) {
  platform.Clipboard.SetPicture(photo);
  ASSERT_TRUE(platform.txt.ContextMenuEntryEnabled(kFrameClipboard));
  ASSERT_TRUE(platform.txt.ChooseContextMenuEntry(kFrameClipboard));
  EXPECT_EQ(platform.txt.Text(), FaceCode(FaceOfSquare(photo, {30, 0, 60})));

  // A photo of another format is framed rather than listed; the headless
  // reader reads the PNG bytes whatever the name says.
  pictures.Write("holiday.jpg", photo);
  const framing::Frame reachingPast{-20, -10, 80};
  AnswerWith(reachingPast);
  ASSERT_TRUE(platform.frmBase64.DropFiles({pictures.Path("holiday.jpg")}));
  EXPECT_EQ(platform.txt.Text(), FaceCode(FaceOfSquare(photo, reachingPast)));
  EXPECT_EQ(pictures.ListNames(), "holiday.jpg");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FramedFacesTest, UnreadablePictureIsReportedWithoutTheDialog) {
  pictures.Write("broken.jpg", "not a picture");
  ASSERT_TRUE(platform.frmBase64.DropFiles({pictures.Path("broken.jpg")}));
  platform.Clipboard.SetText(u"Text");
  EXPECT_FALSE(platform.txt.ContextMenuEntryEnabled(kFrameClipboard));

  EXPECT_EQ(Messages(), std::vector{std::u16string(fit::FitErrorText(fit::FitError::kUnreadable))});
  EXPECT_TRUE(platform.Framing.offers().empty());
}

}  // namespace
}  // namespace velmora::test
