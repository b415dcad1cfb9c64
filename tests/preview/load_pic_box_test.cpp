// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/load_pic_box.h"

#include "preview/number_text.h"
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

using Step = headless::HeadlessPictureLibrary::Step;

class LoadPicBoxTest : public WindowTest {
 protected:
  bool Load(const std::string& name, bool report = true) {
    return LoadPicBox(platform.form(), pictures.Path(name), &platform.Picture1, report, errorText);
  }

  std::u16string errorText = u"untouched";
};

TEST_F(LoadPicBoxTest, FortyEightSquareIsNormalAndOnePixelMoreIsOversize) {
  pictures.Write("48.png", MakePng(48, 48));
  EXPECT_TRUE(Load("48.png"));
  EXPECT_EQ(errorText, u"");
  EXPECT_EQ(platform.Label1.ForeColor(), kColorButtonText);
  EXPECT_TRUE(platform.Picture1.autoRedraw());
  EXPECT_EQ(platform.Picture1.borderStyle(), 0);

  for (auto [w, h] : {std::pair{49u, 48u}, std::pair{48u, 49u}}) {
    pictures.Write("big.png", MakePng(w, h));
    EXPECT_TRUE(Load("big.png"));
    EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);
    EXPECT_EQ(platform.Picture1.picture()->width, static_cast<int>(w));
  }
}

TEST_F(LoadPicBoxTest, MissingInputAndMissingOrHiddenFiles) {
  EXPECT_FALSE(LoadPicBox(platform.form(), u"   ", &platform.Picture1, true, errorText));
  EXPECT_EQ(errorText, u"Eingabeparameter fehlen");
  EXPECT_FALSE(LoadPicBox(platform.form(), pictures.Path("x.png"), nullptr, true, errorText));
  EXPECT_EQ(errorText, u"Eingabeparameter fehlen");
  EXPECT_EQ(platform.Picture1.clears(), 0);

  pictures.Write("ok.png", MakePng(60, 60));
  ASSERT_TRUE(Load("ok.png"));
  pictures.Write(".hidden.png", MakePng(8, 8));
  EXPECT_FALSE(Load(".hidden.png"));
  EXPECT_EQ(errorText, u"Keine Bilddaten vorhanden");
  EXPECT_FALSE(platform.Picture1.picture());
  EXPECT_EQ(platform.Label1.Caption(), u"");
  EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);  // the colour stays
}

TEST_F(LoadPicBoxTest, EachLibraryFailureHasItsTextAndReleasesEverything) {
  pictures.Write("ok.png", MakePng(8, 8));
  const std::pair<Step, std::u16string> failures[] = {
      {Step::kStartup, u"GDIPlus nicht verfügbar"},
      {Step::kLoad, u"Bitmap kann nicht geöffnet werden"},
      {Step::kDimensions, u"Bitmap-Abmessungen nicht verfügbar"},
      {Step::kGraphics, u"Graphikobjekt nicht verfügbar"},
      {Step::kDraw, u"Bild kann nicht gezeichnet werden"}};
  for (const auto& [step, text] : failures) {
    platform.Pictures.FailAt(step);
    EXPECT_FALSE(Load("ok.png"));
    EXPECT_EQ(errorText, text);
    EXPECT_EQ(platform.Pictures.running(), 0);
    EXPECT_EQ(headless::HeadlessPictureLibrary::liveHandles(), 0);
  }
  EXPECT_FALSE(platform.Picture1.picture());
}

TEST_F(LoadPicBoxTest, UndecodableFileKeepsThePreviousPictureAndReport) {
  pictures.Write("ok.png", MakePng(8, 8));
  ASSERT_TRUE(Load("ok.png"));
  const std::u16string report = platform.Label1.Caption();
  pictures.Write("bad.png", "not a picture");
  EXPECT_FALSE(Load("bad.png"));
  EXPECT_EQ(errorText, u"Bitmap kann nicht geöffnet werden");
  EXPECT_EQ(platform.Picture1.picture()->source, pictures.Path("ok.png"));
  EXPECT_EQ(platform.Label1.Caption(), report);
}

TEST_F(LoadPicBoxTest, WithoutReportTheLabelStaysAlone) {
  pictures.Write("ok.png", MakePng(8, 8));
  EXPECT_TRUE(Load("ok.png", false));
  EXPECT_EQ(platform.Label1.Caption(), u"");
  EXPECT_EQ(platform.Label1.ForeColor(), kColorRed);
}

TEST(NumberText, GeneralAndKilobyteForms) {
  EXPECT_EQ(GeneralNumberText(48, u','), u"48");
  EXPECT_EQ(GeneralNumberText(38.4, u','), u"38,4");
  EXPECT_EQ(GeneralNumberText(0.1 + 0.2, u'.'), u"0.3");
  EXPECT_EQ(KilobyteText(1024, u','), u"1, KB");
  EXPECT_EQ(KilobyteText(1152, u','), u"1,13 KB");
  EXPECT_EQ(KilobyteText(1034, u','), u"1,01 KB");
  EXPECT_EQ(KilobyteText(2047, u','), u"2, KB");  // rounds up into the next whole kilobyte
  EXPECT_EQ(KilobyteText(1536, u'.'), u"1.5 KB");
}

}  // namespace
}  // namespace velmora::test
