// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/xface_code.h"

#include <gtest/gtest.h>

#include <thread>

#include "fit/png_decode.h"
#include "platform/bytes.h"
#include "tests/xface/shapes.h"
#include "xface/bitmap_png.h"
#include "xface/compface_calls.h"

namespace velmora::xface {
namespace {

using test::Shape;
using test::Shapes;
using Encoded = std::variant<std::u16string, XFaceError>;

std::u16string CodeOf(const Bitmap& bitmap) {
  const Encoded encoded = EncodeXFace(bitmap);
  EXPECT_TRUE(std::holds_alternative<std::u16string>(encoded));
  return std::holds_alternative<std::u16string>(encoded) ? std::get<std::u16string>(encoded) : u"";
}

std::u16string Replaced(std::u16string text, char16_t from, std::u16string_view to) {
  std::u16string out;
  for (const char16_t c : text) c == from ? out.append(to) : out.append(1, c);
  return out;
}

class ShapeTest : public ::testing::TestWithParam<Shape> {};

INSTANTIATE_TEST_SUITE_P(Shapes, ShapeTest, ::testing::ValuesIn(Shapes()),
                         [](const auto& entry) { return entry.param.name; });

// The header only ever gives back the bitmap it was made of, or a refusal
// where one is allowed.
TEST_P(ShapeTest, HeaderDecodesToItsBitmap) {
  const Encoded encoded = EncodeXFace(GetParam().bitmap);
  if (const auto* error = std::get_if<XFaceError>(&encoded)) {
    EXPECT_TRUE(GetParam().mayBeRefused);
    EXPECT_EQ(*error, XFaceError::kTooDetailed);
    return;
  }
  const std::u16string header = XFaceHeader(std::get<std::u16string>(encoded));
  EXPECT_EQ(header.find(u'\r'), std::u16string::npos);
  std::size_t lineStart = 0;
  for (std::size_t lineEnd = header.find(u'\n'); lineEnd != std::u16string::npos;
       lineEnd = header.find(u'\n', lineStart)) {
    EXPECT_LE(lineEnd - lineStart, kLongestXFaceLine);
    lineStart = lineEnd + 1;
    EXPECT_EQ(header[lineStart], u' ') << "a folded header line begins with white space";
  }
  EXPECT_LE(header.size() - lineStart, kLongestXFaceLine);
  const auto decoded = DecodeXFace(header);
  ASSERT_TRUE(std::holds_alternative<Bitmap>(decoded));
  EXPECT_EQ(std::get<Bitmap>(decoded), GetParam().bitmap);
}

TEST_P(ShapeTest, PngIsAFaceOfTheBitmap) {
  const std::string png = BitmapPng(GetParam().bitmap);
  EXPECT_LT(png.size(), face::kRefusedFileBytes);
  const auto decoded = fit::DecodePng(BytesOf(png));
  ASSERT_TRUE(std::holds_alternative<fit::Picture>(decoded));
  const auto& picture = std::get<fit::Picture>(decoded);
  ASSERT_EQ(picture.width, kXFaceSide);
  ASSERT_EQ(picture.height, kXFaceSide);
  const Bitmap back = test::Painted([&picture](int x, int y) {
    const std::uint8_t* rgba =
        &picture.rgba[(static_cast<std::size_t>(y) * kXFaceSide + static_cast<std::size_t>(x)) * fit::kChannels];
    const bool black = rgba[0] == 0 && rgba[1] == 0 && rgba[2] == 0;
    const bool white = rgba[0] == 0xFF && rgba[1] == 0xFF && rgba[2] == 0xFF;
    EXPECT_TRUE(rgba[3] == 0xFF && (black || white)) << "at " << x << ", " << y;
    return black;
  });
  EXPECT_EQ(back, GetParam().bitmap);
}

// A header as a mail program or a person may hand it over.
struct Wrapping {
  std::string name;
  std::u16string (*wrap)(std::u16string_view code);
};

std::u16string Unfolded(std::u16string_view code) {
  return Replaced(Replaced(std::u16string(code), u'\n', u""), u' ', u"");
}

class WrappingTest : public ::testing::TestWithParam<Wrapping> {};

INSTANTIATE_TEST_SUITE_P(
    Wrappings, WrappingTest,
    ::testing::Values(Wrapping{"CodeAlone", [](std::u16string_view code) { return std::u16string(code); }},
                      Wrapping{"Header", [](std::u16string_view code) { return XFaceHeader(code); }},
                      Wrapping{"FoldedWithCrLfAndTabs",
                               [](std::u16string_view code) { return Replaced(XFaceHeader(code), u'\n', u"\r\n\t"); }},
                      Wrapping{
                          "FieldNameFoldedAway",
                          [](std::u16string_view code) { return u"X-Face:\r\n" + std::u16string(code) + u"\r\n"; }},
                      Wrapping{"OneLine", [](std::u16string_view code) { return u"X-Face: " + Unfolded(code); }},
                      Wrapping{"LowerCaseBetweenBlankLines",
                               [](std::u16string_view code) { return u"\n \nx-face:" + Unfolded(code) + u"\n\n"; }}),
    [](const auto& entry) { return entry.param.name; });

TEST_P(WrappingTest, DecodesToTheBitmap) {
  const Bitmap disc = test::Painted(test::InDiscAndBar);
  const auto decoded = DecodeXFace(GetParam().wrap(CodeOf(disc)));
  ASSERT_TRUE(std::holds_alternative<Bitmap>(decoded));
  EXPECT_EQ(std::get<Bitmap>(decoded), disc);
}

// Other programs read the code through the same library: the bitmap's top
// left pixel must be the top bit of the library's first word.
TEST(XFaceLayoutTest, TopLeftPixelIsTheFirstWordsTopBit) {
  Bitmap corner;
  corner.SetBlack(0, 0, true);
  const std::u16string code = CodeOf(corner);
  const auto bitmapText = UncompressCode(std::string(code.begin(), code.end()));
  ASSERT_TRUE(bitmapText.has_value());
  EXPECT_EQ(bitmapText->substr(0, 21), "0x8000,0x0000,0x0000,");
}

struct Refusal {
  std::string name;
  std::u16string text;
  XFaceError error;
};

class RefusalTest : public ::testing::TestWithParam<Refusal> {};

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusalTest,
    ::testing::Values(Refusal{"Empty", u"", XFaceError::kNoCode},
                      Refusal{"WhiteSpaceOnly", u" \t\r\n ", XFaceError::kNoCode},
                      Refusal{"FieldNameOnly", u"X-Face: \r\n", XFaceError::kNoCode},
                      Refusal{"TooLong", std::u16string(kLongestXFaceCode + 1, u'!'), XFaceError::kCodeTooLong},
                      Refusal{"LongestIsNoFace", std::u16string(kLongestXFaceCode, u'~'), XFaceError::kNotAFace},
                      Refusal{"Umlaut", u"X-Face: ab\u00e4cd", XFaceError::kForeignCharacter},
                      // Its low byte is "!": a narrowing would let it through.
                      Refusal{"WideCharacter", u"ab\u0121cd", XFaceError::kForeignCharacter},
                      Refusal{"NulCharacter", std::u16string(u"ab\0cd", 5), XFaceError::kForeignCharacter},
                      Refusal{"FormFeed", u"ab\fcd", XFaceError::kForeignCharacter},
                      Refusal{"Word", u"hello", XFaceError::kNotAFace}),
    [](const auto& entry) { return entry.param.name; });

TEST_P(RefusalTest, IsRefused) {
  const auto decoded = DecodeXFace(GetParam().text);
  ASSERT_TRUE(std::holds_alternative<XFaceError>(decoded));
  EXPECT_EQ(std::get<XFaceError>(decoded), GetParam().error);
}

// The library keeps its state in globals: two threads at once must see what
// one sees alone.
TEST(XFaceThreadTest, TwoThreadsEncodeAsOneThreadDoes) {
  constexpr unsigned kNoiseBitmaps = 8;
  constexpr int kRounds = 4;
  std::vector<Bitmap> bitmaps;
  for (const Shape& shape : Shapes()) bitmaps.push_back(shape.bitmap);
  for (unsigned seed = 2; seed < 2 + kNoiseBitmaps; ++seed) bitmaps.push_back(test::Noise(seed));
  const auto encodeAll = [&bitmaps] {
    std::vector<Encoded> codes;
    for (int round = 0; round < kRounds; ++round) {
      for (const Bitmap& bitmap : bitmaps) codes.push_back(EncodeXFace(bitmap));
    }
    return codes;
  };
  const std::vector<Encoded> alone = encodeAll();
  std::vector<Encoded> first;
  std::vector<Encoded> second;
  std::thread one([&] { first = encodeAll(); });
  std::thread other([&] { second = encodeAll(); });
  one.join();
  other.join();
  EXPECT_EQ(first, alone);
  EXPECT_EQ(second, alone);
}

}  // namespace
}  // namespace velmora::xface
