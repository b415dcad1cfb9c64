// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/black_and_white.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fit/png_encode.h"
#include "platform/bytes.h"
#include "tests/xface/shapes.h"
#include "xface/xface_picture.h"

namespace velmora::xface {
namespace {

constexpr fit::Colour kWhite{0xFF, 0xFF, 0xFF, 0xFF};
constexpr fit::Colour kBlack{0x00, 0x00, 0x00, 0xFF};
constexpr fit::Colour kClear{0x00, 0x00, 0x00, 0x00};

template <typename ColourAt>
std::string Png(int width, int height, ColourAt colourAt) {
  fit::IndexedPicture indexed{width, height, {}, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const fit::Colour colour = colourAt(x, y);
      auto entry = std::ranges::find(indexed.palette, colour);
      if (entry == indexed.palette.end()) entry = indexed.palette.insert(entry, colour);
      indexed.indices.push_back(static_cast<std::uint8_t>(entry - indexed.palette.begin()));
    }
  }
  return fit::EncodePng(indexed, fit::Deflater::kZlib);
}

double WhiteShare(const Bitmap& bitmap) {
  int white = 0;
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) white += bitmap.IsBlack(x, y) ? 0 : 1;
  }
  return white / static_cast<double>(kXFacePixels);
}

struct Tone {
  Method method;
  double light;  // linear
  double whiteShare;
  double tolerance;
};

class ToneTest : public ::testing::TestWithParam<Tone> {};

INSTANTIATE_TEST_SUITE_P(
    Tones, ToneTest,
    ::testing::Values(Tone{Method::kFloydSteinberg, 0.1, 0.1, 0.01}, Tone{Method::kFloydSteinberg, 0.25, 0.25, 0.01},
                      Tone{Method::kFloydSteinberg, 0.7, 0.7, 0.01}, Tone{Method::kBayer, 0.1, 0.1, 0.02},
                      Tone{Method::kBayer, 0.25, 0.25, 0.02}, Tone{Method::kBayer, 0.7, 0.7, 0.02},
                      Tone{Method::kMedianThreshold, 0.2, 0.0, 0.0}, Tone{Method::kMedianThreshold, 0.6, 1.0, 0.0}));

// A dither gives a flat tone's light as its share of white pixels; a
// threshold turns a flat tone wholly to the colour it lies nearer.
TEST_P(ToneTest, FlatToneGivesItsShareOfWhite) {
  GreyPicture grey{};
  grey.fill(GetParam().light);
  EXPECT_NEAR(WhiteShare(BlackAndWhite(grey, GetParam().method)), GetParam().whiteShare, GetParam().tolerance);
}

struct Light {
  std::string name;
  fit::Colour colour;
  double light;  // linear, over white
};

class GreyOverWhiteTest : public ::testing::TestWithParam<Light> {};

INSTANTIATE_TEST_SUITE_P(Lights, GreyOverWhiteTest,
                         ::testing::Values(Light{"MidGrey", {128, 128, 128, 0xFF}, 0.2158},
                                           Light{"Red", {0xFF, 0, 0, 0xFF}, 0.2126},
                                           Light{"HalfClearBlack", {0, 0, 0, 128}, 0.4980},
                                           Light{"Clear", kClear, 1.0}),
                         [](const auto& entry) { return entry.param.name; });

TEST_P(GreyOverWhiteTest, FlatColourGivesItsLight) {
  const auto grey = GreyPictureOfPng(BytesOf(Png(kXFaceSide, kXFaceSide, [](int, int) { return GetParam().colour; })));
  ASSERT_TRUE(std::holds_alternative<GreyPicture>(grey));
  for (const double light : std::get<GreyPicture>(grey)) ASSERT_NEAR(light, GetParam().light, 1e-4);
}

TEST(MedianThresholdTest, TurnsHalfThePixelsBlack) {
  GreyPicture grey{};
  for (std::size_t i = 0; i < grey.size(); ++i) grey[(i * 7919) % grey.size()] = static_cast<double>(i) / grey.size();
  EXPECT_EQ(WhiteShare(BlackAndWhite(grey, Method::kMedianThreshold)), 0.5);
}

// A picture of black and white alone comes back pixel for pixel, whatever
// size it has, and transparency counts as white.
struct Drawing {
  std::string name;
  std::string png;
  Bitmap bitmap;
};

class DrawingTest : public ::testing::TestWithParam<Drawing> {};

INSTANTIATE_TEST_SUITE_P(
    Drawings, DrawingTest,
    ::testing::Values(
        Drawing{"Opaque",
                Png(kXFaceSide, kXFaceSide, [](int x, int y) { return test::InDiscAndBar(x, y) ? kBlack : kWhite; }),
                test::Painted(test::InDiscAndBar)},
        Drawing{"OnTransparent",
                Png(kXFaceSide, kXFaceSide, [](int x, int y) { return test::InDiscAndBar(x, y) ? kBlack : kClear; }),
                test::Painted(test::InDiscAndBar)},
        // Each pixel of the half-size picture becomes a block of 2 x 2.
        Drawing{"Enlarged",
                Png(kXFaceSide / 2, kXFaceSide / 2,
                    [](int x, int y) { return test::InDiscAndBar(2 * x, 2 * y) ? kBlack : kWhite; }),
                test::Painted([](int x, int y) { return test::InDiscAndBar(x / 2 * 2, y / 2 * 2); })}),
    [](const auto& entry) { return entry.param.name; });

TEST_P(DrawingTest, ComesBackExactly) {
  const auto made = XFaceOfPng(BytesOf(GetParam().png));
  ASSERT_TRUE(std::holds_alternative<BlackAndWhiteCandidate>(made));
  const auto& chosen = std::get<BlackAndWhiteCandidate>(made);
  EXPECT_EQ(chosen.bitmap, GetParam().bitmap);
  EXPECT_TRUE(chosen.code.has_value());
}

// On a smooth ramp a threshold loses every tone; the measure must see that.
TEST(XFaceOfPngTest, DithersAGreyRamp) {
  const std::string ramp = Png(kXFaceSide, kXFaceSide, [](int x, int) {
    const auto grey = static_cast<std::uint8_t>(x * 255 / (kXFaceSide - 1));
    return fit::Colour{grey, grey, grey, 0xFF};
  });
  const auto made = XFaceOfPng(BytesOf(ramp));
  ASSERT_TRUE(std::holds_alternative<BlackAndWhiteCandidate>(made));
  EXPECT_NE(std::get<BlackAndWhiteCandidate>(made).method, Method::kMedianThreshold);
}

TEST(XFaceOfPngTest, UnreadableFileGivesTheFitError) {
  const auto made = XFaceOfPng(BytesOf("\x89PNG\r\n\x1a\n broken"));
  ASSERT_TRUE(std::holds_alternative<fit::FitError>(made));
  EXPECT_EQ(std::get<fit::FitError>(made), fit::FitError::kUnreadable);
}

// Candidates as (PSNR, code length or 0 for none), and which one is kept.
struct Choice {
  std::string name;
  std::array<std::pair<double, std::size_t>, 3> candidates;
  std::size_t chosen;
};

class ChoiceTest : public ::testing::TestWithParam<Choice> {};

constexpr double kInfinite = INFINITY;

INSTANTIATE_TEST_SUITE_P(
    Choices, ChoiceTest,
    ::testing::Values(Choice{"ClosestWhenOthersAreFar", {{{30.0, 300}, {29.4, 200}, {25.0, 100}}}, 0},
                      Choice{"ShorterWhenClose", {{{30.0, 300}, {29.6, 200}, {25.0, 100}}}, 1},
                      Choice{"ShortestOfTheClose", {{{30.0, 300}, {29.6, 200}, {29.5, 100}}}, 2},
                      Choice{"CloserOfEqualLength", {{{29.8, 200}, {30.0, 200}, {20.0, 200}}}, 1},
                      Choice{"OnlyThoseWithACode", {{{30.0, 0}, {29.0, 400}, {28.6, 300}}}, 2},
                      Choice{"ExactPictures", {{{kInfinite, 50}, {kInfinite, 40}, {10.0, 10}}}, 1},
                      Choice{"ClosestWhenNoneHasACode", {{{20.0, 0}, {30.0, 0}, {25.0, 0}}}, 1}),
    [](const auto& entry) { return entry.param.name; });

TEST_P(ChoiceTest, KeepsTheRightCandidate) {
  std::vector<BlackAndWhiteCandidate> candidates;
  for (const auto& [psnr, codeLength] : GetParam().candidates) {
    std::optional<std::u16string> code;
    if (codeLength > 0) code = u" " + std::u16string(codeLength, u'!');
    candidates.push_back({Method::kBayer, Bitmap{}, psnr, code});
  }
  EXPECT_EQ(&ChosenCandidate(candidates), &candidates[GetParam().chosen]);
}

}  // namespace
}  // namespace velmora::xface
