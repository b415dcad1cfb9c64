// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fit_picture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "fit/candidate_search.h"
#include "fit/face_canvas.h"
#include "fit/png_encode.h"
#include "fit/quality.h"
#include "fit/smoothing.h"
#include "fit/png_decode.h"
#include "platform/bytes.h"
#include "tests/support/png_maker.h"

namespace velmora::fit {
namespace {

using test::MakeDecompressionBomb;
using test::PngSuiteFile;
using test::PngSuiteFolder;

constexpr Colour kRed{0xFF, 0, 0, 0xFF};
constexpr std::size_t kSignatureBytes = 8;
constexpr std::size_t kBitDepthAt = kSignatureBytes + 8 + 8;  // after length, type, width, height

Colour PixelAt(const Picture& picture, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                          static_cast<std::size_t>(x)) * kChannels;
  return {picture.rgba[at], picture.rgba[at + 1], picture.rgba[at + 2], picture.rgba[at + 3]};
}

void SetPixel(Picture& picture, int x, int y, const Colour& colour) {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                          static_cast<std::size_t>(x)) * kChannels;
  picture.rgba[at] = colour.red;
  picture.rgba[at + 1] = colour.green;
  picture.rgba[at + 2] = colour.blue;
  picture.rgba[at + 3] = colour.alpha;
}

template <typename ColourAt>
Picture Painted(int width, int height, ColourAt colourAt) {
  Picture picture = TransparentPicture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetPixel(picture, x, y, colourAt(x, y));
  }
  return picture;
}

// Horizontal stripes of 24 colours, some of them translucent.
Colour StripeColour(int, int y) {
  const auto stripe = static_cast<std::uint8_t>(y / 2);
  return {static_cast<std::uint8_t>(stripe * 10), static_cast<std::uint8_t>(255 - stripe * 7),
          static_cast<std::uint8_t>(stripe % 3 * 100), static_cast<std::uint8_t>(stripe % 4 == 0 ? 128 : 255)};
}

Picture Noise(unsigned seed) {
  std::mt19937 random(seed);
  Picture picture = TransparentPicture(kFaceSide, kFaceSide);
  for (auto& sample : picture.rgba) sample = static_cast<std::uint8_t>(random());
  return picture;
}

// A truecolour PNG file of the picture, written by libpng.
std::string RgbaPng(const Picture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, picture.rgba.data(), 0, nullptr));
  std::string file(size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, file.data(), &size, 0, picture.rgba.data(), 0, nullptr));
  file.resize(size);
  return file;
}

Picture Decoded(const std::string& file) {
  auto decoded = DecodePng(BytesOf(file));
  EXPECT_TRUE(std::holds_alternative<Picture>(decoded));
  return std::holds_alternative<Picture>(decoded) ? std::get<Picture>(std::move(decoded)) : Picture{};
}

FitResult Fitted(const std::string& file) {
  auto fitted = FitPictureIntoFace(BytesOf(file));
  EXPECT_TRUE(std::holds_alternative<FitResult>(fitted));
  return std::holds_alternative<FitResult>(fitted) ? std::get<FitResult>(std::move(fitted)) : FitResult{};
}

FitError FitFailure(const std::string& file) {
  const auto fitted = FitPictureIntoFace(BytesOf(file));
  EXPECT_TRUE(std::holds_alternative<FitError>(fitted));
  return std::holds_alternative<FitError>(fitted) ? std::get<FitError>(fitted) : FitError{};
}

struct Chunk {
  std::string type;
  std::size_t length;
};

std::vector<Chunk> Chunks(const std::string& png) {
  std::vector<Chunk> chunks;
  for (std::size_t at = kSignatureBytes; at + 8 <= png.size();) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) length = length << 8 | static_cast<std::uint8_t>(png[at + i]);
    chunks.push_back({png.substr(at + 4, 4), length});
    at += 12 + length;
  }
  return chunks;
}

std::string ChunkTypes(const std::string& png) {
  std::string types;
  for (const Chunk& chunk : Chunks(png)) types += (types.empty() ? "" : " ") + chunk.type;
  return types;
}

std::size_t ChunkLength(const std::string& png, const std::string& type) {
  for (const Chunk& chunk : Chunks(png)) {
    if (chunk.type == type) return chunk.length;
  }
  return 0;
}

std::vector<std::string> PngSuiteNames(bool damaged) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PngSuiteFolder())) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".png" && (name.front() == 'x') == damaged) names.push_back(name);
  }
  EXPECT_FALSE(names.empty());
  return names;
}

void ExpectEqualPictures(const Picture& actual, const Picture& expected) {
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      ASSERT_EQ(PixelAt(actual, x, y), PixelAt(expected, x, y)) << "at " << x << ", " << y;
    }
  }
}

// --- the whole action ---

TEST(FitPictureIntoFace, EveryPngSuitePictureBecomesASmallFace) {
  const std::set<std::string> chunkTypes = {"IHDR PLTE IDAT IEND", "IHDR PLTE tRNS IDAT IEND", "IHDR IDAT IEND",
                                            "IHDR tRNS IDAT IEND"};
  for (const std::string& name : PngSuiteNames(false)) {
    SCOPED_TRACE(name);
    const FitResult face = Fitted(PngSuiteFile(name));
    EXPECT_LE(face.png.size(), kMaxFaceBytes);
    EXPECT_TRUE(chunkTypes.contains(ChunkTypes(face.png))) << ChunkTypes(face.png);
    const Picture picture = Decoded(face.png);
    EXPECT_EQ(picture.width, kFaceSide);
    EXPECT_EQ(picture.height, kFaceSide);
  }
}

TEST(FitPictureIntoFace, DamagedOrForeignFilesAreUnreadable) {
  for (const std::string& name : PngSuiteNames(true)) {
    EXPECT_EQ(FitFailure(PngSuiteFile(name)), FitError::kUnreadable) << name;
  }
  const std::string whole = PngSuiteFile("basn6a08.png");
  EXPECT_EQ(FitFailure(whole.substr(0, whole.size() / 2)), FitError::kUnreadable);
  EXPECT_EQ(FitFailure(""), FitError::kUnreadable);
  EXPECT_EQ(FitFailure("GIF89a, not a PNG file"), FitError::kUnreadable);
}

TEST(FitPictureIntoFace, PictureDeclaringTooManyPixelsIsRefusedFromItsHeader) {
  EXPECT_EQ(FitFailure(MakeDecompressionBomb(20000, 20000)), FitError::kTooManyPixels);
  EXPECT_EQ(FitFailure(MakeDecompressionBomb(8192, 6401)), FitError::kTooManyPixels);
  // 50 MP exactly is allowed; its missing picture data is what fails.
  EXPECT_EQ(FitFailure(MakeDecompressionBomb(8192, 6400)), FitError::kUnreadable);
}

// 100 squares of 4 x 4 pixels in 100 colours, in a transparent frame.
Colour SquareColour(int x, int y) {
  if (x < 4 || y < 4 || x >= 44 || y >= 44) return kTransparentBlack;
  const int square = (y - 4) / 4 * 10 + (x - 4) / 4;
  return {static_cast<std::uint8_t>(square * 2), static_cast<std::uint8_t>(255 - square),
          static_cast<std::uint8_t>(square % 10 * 25), 0xFF};
}

TEST(FitPictureIntoFace, PictureOf48By48WithColoursToSpareKeepsEveryPixel) {
  const std::vector<std::pair<Colour (*)(int, int), int>> pictures = {{StripeColour, kFaceSide / 2},
                                                                      {SquareColour, 101}};
  for (const auto& [colourAt, colours] : pictures) {
    SCOPED_TRACE(colours);
    const Picture original = Painted(kFaceSide, kFaceSide, colourAt);
    const FitResult face = Fitted(RgbaPng(original));
    ExpectEqualPictures(Decoded(face.png), original);
    EXPECT_EQ(face.colours, colours);
    EXPECT_TRUE(std::isinf(face.psnr));
  }
}

TEST(FitPictureIntoFace, SmallerPictureIsEnlargedToFillTheWidth) {
  const Picture original = Painted(16, 8, StripeColour);  // becomes 48 x 24, each pixel a 3 x 3 block
  const Picture face = Decoded(Fitted(RgbaPng(original)).png);
  for (int y = 0; y < kFaceSide; ++y) {
    for (int x = 0; x < kFaceSide; ++x) {
      const bool inside = y >= 12 && y < 36;
      EXPECT_EQ(PixelAt(face, x, y), inside ? StripeColour(x / 3, (y - 12) / 3) : kTransparentBlack)
          << x << ", " << y;
    }
  }
}

TEST(FitPictureIntoFace, WideOrTallPictureKeepsItsProportionsBetweenTransparentBands) {
  const auto red = [](int, int) { return kRed; };
  const Picture wide = Decoded(Fitted(RgbaPng(Painted(200, 100, red))).png);  // becomes 48 x 24
  const Picture tall = Decoded(Fitted(RgbaPng(Painted(30, 120, red))).png);   // becomes 12 x 48
  for (int y = 0; y < kFaceSide; ++y) {
    for (int x = 0; x < kFaceSide; ++x) {
      EXPECT_EQ(PixelAt(wide, x, y), y >= 12 && y < 36 ? kRed : kTransparentBlack) << "wide " << x << ", " << y;
      EXPECT_EQ(PixelAt(tall, x, y), x >= 18 && x < 30 ? kRed : kTransparentBlack) << "tall " << x << ", " << y;
    }
  }
}

TEST(FitPictureIntoFace, NoiseFitsAndTwoColoursAlwaysDo) {
  const Picture noise = Noise(1);
  const FitResult face = Fitted(RgbaPng(noise));
  EXPECT_LE(face.png.size(), kMaxFaceBytes);
  EXPECT_GE(face.colours, 2);
  // At 2 colours a Face takes 1 bit per pixel: 336 bytes of rows, which even
  // stored undeflated make a file of 436 bytes at most. So kDoesNotFit
  // needs a tighter limit than kMaxFaceBytes.
  const auto twoColours = BestCandidateWithin(noise, 436);
  ASSERT_TRUE(twoColours.has_value());
  EXPECT_LE(twoColours->colours, 2);
  EXPECT_FALSE(BestCandidateWithin(noise, 300).has_value());
}

TEST(FitErrorText, SaysWhyInGerman) {
  EXPECT_EQ(FitErrorText(FitError::kDoesNotFit), u"Das Bild lässt sich nicht auf 725 Bytes verkleinern.");
  const std::set<std::u16string_view> texts = {FitErrorText(FitError::kUnreadable),
                                               FitErrorText(FitError::kTooManyPixels),
                                               FitErrorText(FitError::kDoesNotFit)};
  EXPECT_EQ(texts.size(), 3u);
}

// --- scaling ---

TEST(FaceCanvas, AveragesInLinearLight) {
  const auto checkerboard = [](int x, int y) {
    const auto value = static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0);
    return Colour{value, value, value, 0xFF};
  };
  const Picture canvas = FaceCanvas(Painted(2 * kFaceSide, 2 * kFaceSide, checkerboard));
  // Half the light of white is sRGB 188, not 128.
  EXPECT_EQ(PixelAt(canvas, 0, 0), (Colour{188, 188, 188, 0xFF}));
  EXPECT_EQ(PixelAt(canvas, 47, 47), (Colour{188, 188, 188, 0xFF}));
}

TEST(FaceCanvas, TransparentPixelsLendNoColour) {
  const auto stripes = [](int x, int) { return x % 2 ? kRed : Colour{0, 0xFF, 0, 0}; };
  const Picture canvas = FaceCanvas(Painted(2 * kFaceSide, kFaceSide, stripes));
  EXPECT_EQ(PixelAt(canvas, 20, 20), (Colour{0xFF, 0, 0, 128}));
}

TEST(FaceCanvas, EnlargingMixesOnlyThePixelsAcrossABlockEdge) {
  const auto columns = [](int x, int) {
    const auto value = static_cast<std::uint8_t>(x % 2 ? 255 : 0);
    return Colour{value, value, value, 0xFF};
  };
  // 5 columns become 48: each a block of 9.6, so the target columns 9, 19,
  // 28 and 38 straddle an edge.
  const Picture canvas = FaceCanvas(Painted(5, 5, columns));
  const std::set<int> edges = {9, 19, 28, 38};
  for (int x = 0; x < kFaceSide; ++x) {
    const std::uint8_t value = PixelAt(canvas, x, 30).red;
    if (edges.contains(x)) {
      EXPECT_TRUE(value > 0 && value < 255) << x;
    } else {
      EXPECT_EQ(value, x * 5 / kFaceSide % 2 ? 255 : 0) << x;
    }
  }
}

TEST(FaceCanvas, OddSizesAverageByCoveredArea) {
  // Columns black, white, black, ...: each target pixel covers one and a half
  // source pixels, a third of its area white.
  const auto bands = [](int x, int) {
    const auto value = static_cast<std::uint8_t>(x % 3 == 1 ? 255 : 0);
    return Colour{value, value, value, 0xFF};
  };
  const Picture canvas = FaceCanvas(Painted(72, 72, bands));
  const Colour expected{156, 156, 156, 0xFF};  // sRGB of a third of white's light
  EXPECT_EQ(PixelAt(canvas, 0, 0), expected);
  EXPECT_EQ(PixelAt(canvas, 1, 5), expected);
}

TEST(CroppedCanvas, ScalesTheSquareAndLeavesWhatLiesOutsideTransparent) {
  // Four quadrants of 48 x 48 pixels in four colours.
  const std::array<Colour, 4> quadrants = {kRed, Colour{0, 0xFF, 0, 0xFF}, Colour{0, 0, 0xFF, 0xFF}, kBlack};
  const Picture picture = Painted(2 * kFaceSide, 2 * kFaceSide, [&](int x, int y) {
    return quadrants[static_cast<std::size_t>((y / kFaceSide) * 2 + x / kFaceSide)];
  });
  struct Case {
    Square square;
    Colour (*expected)(const std::array<Colour, 4>&, int x, int y);
  };
  const std::vector<Case> cases = {
      {{0, 0, 48}, [](const auto& q, int, int) { return q[0]; }},
      {{48, 48, 48}, [](const auto& q, int, int) { return q[3]; }},
      {{0, 0, 96}, [](const auto& q, int x, int y) { return q[static_cast<std::size_t>(y / 24 * 2 + x / 24)]; }},
      {{36, 0, 24}, [](const auto& q, int x, int) { return q[x < 24 ? 0 : 1]; }},
      {{-48, 48, 96}, [](const auto& q, int x, int y) { return x < 24 || y >= 24 ? kTransparentBlack : q[2]; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.square.left << ", " << c.square.top << ", " << c.square.size);
    const Picture canvas = CroppedCanvas(picture, c.square);
    for (int y = 0; y < kFaceSide; ++y) {
      for (int x = 0; x < kFaceSide; ++x) ASSERT_EQ(PixelAt(canvas, x, y), c.expected(quadrants, x, y)) << x << ", " << y;
    }
  }
}

// --- the file format ---

IndexedPicture IndexedOfColours(int colours, Colour firstColour = kRed) {
  IndexedPicture indexed{kFaceSide, kFaceSide, std::vector<std::uint8_t>(kFaceSide * kFaceSide), {}};
  for (int i = 0; i < colours; ++i) {
    const auto value = static_cast<std::uint8_t>(i);
    indexed.palette.push_back(i == 0 ? firstColour : Colour{value, static_cast<std::uint8_t>(255 - value), 7, 0xFF});
  }
  for (std::size_t i = 0; i < indexed.indices.size(); ++i) {
    indexed.indices[i] = static_cast<std::uint8_t>(i * 7 % static_cast<std::size_t>(colours));
  }
  return indexed;
}

TEST(EncodePng, IndexedFilesHoldEveryPaletteSize) {
  for (const int colours : {1, 2, 3, 5, 16, 17, 256}) {
    for (const Deflater deflater : {Deflater::kZlib, Deflater::kZopfli}) {
      SCOPED_TRACE(colours);
      const IndexedPicture indexed = IndexedOfColours(colours);
      const std::string png = EncodePng(indexed, deflater);
      ExpectEqualPictures(Decoded(png), Expand(indexed));
      EXPECT_EQ(ImageDataBytes(png), ChunkLength(png, "IDAT"));
    }
  }
}

// Grey levels over a 48 x 48 picture, picked from the list by position.
Picture GreyLevels(const std::vector<std::uint8_t>& levels) {
  return Painted(kFaceSide, kFaceSide, [&](int x, int y) {
    const std::uint8_t level = levels[static_cast<std::size_t>(x * 7 + y * 3) % levels.size()];
    return Colour{level, level, level, 0xFF};
  });
}

Picture Gradient(std::uint8_t alpha) {
  return Painted(kFaceSide, kFaceSide, [alpha](int x, int y) {
    return Colour{static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 5),
                  static_cast<std::uint8_t>(x + y), alpha};
  });
}

TEST(EncodePng, WritesAColourTypeAndDepthThatHoldTheColoursExactly) {
  constexpr char kGreyType = 0;
  constexpr char kTruecolourType = 2;
  constexpr char kIndexedType = 3;
  constexpr char kTruecolourAlphaType = 6;
  struct Case {
    const char* name;
    Picture picture;
    char colourType;
    int depth;
  };
  std::vector<std::uint8_t> sixteenLevels;
  std::vector<std::uint8_t> everyLevel;
  for (int level = 0; level < 256; ++level) {
    everyLevel.push_back(static_cast<std::uint8_t>(level));
    if (level % 17 == 0) sixteenLevels.push_back(static_cast<std::uint8_t>(level));
  }
  const std::vector<Case> cases = {
      {"black and white", GreyLevels({0, 255}), kGreyType, 1},
      {"four levels", GreyLevels({0, 85, 170, 255}), kGreyType, 2},
      {"sixteen levels", GreyLevels(sixteenLevels), kGreyType, 4},
      {"every level", GreyLevels(everyLevel), kGreyType, 8},
      {"three colours", Expand(IndexedOfColours(3)), kIndexedType, 2},
      {"opaque gradient", Gradient(0xFF), kTruecolourType, 8},
      {"translucent gradient", Gradient(0x80), kTruecolourAlphaType, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string png = EncodePng(c.picture, Deflater::kZlib);
    EXPECT_EQ(png[kBitDepthAt + 1], c.colourType);
    EXPECT_EQ(png[kBitDepthAt], c.depth);
    ExpectEqualPictures(Decoded(png), c.picture);
  }
}

TEST(EncodePng, TransparentBlackIsTheKeyOnlyWhileNoOpaquePixelIsBlack) {
  Picture keyed = GreyLevels({0x40, 0x80});
  SetPixel(keyed, 5, 5, kTransparentBlack);
  Picture blackToo = keyed;
  SetPixel(blackToo, 6, 6, kBlack);
  for (const Picture& picture : {keyed, blackToo}) ExpectEqualPictures(Decoded(EncodePng(picture, Deflater::kZlib)), picture);
  EXPECT_EQ(ChunkTypes(EncodePng(keyed, Deflater::kZlib)), "IHDR tRNS IDAT IEND");
}

TEST(EncodePng, KeepsOnlyUsedEntriesAndTransparencyUpToTheLastTranslucentOne) {
  IndexedPicture indexed = IndexedOfColours(3, Colour{1, 2, 3, 40});
  indexed.palette.resize(10, kRed);  // entries 3 to 9 unused
  const std::string png = EncodePng(indexed, Deflater::kZlib);
  EXPECT_EQ(ChunkLength(png, "PLTE"), 3u * 3u);
  EXPECT_EQ(ChunkLength(png, "tRNS"), 1u);
  ExpectEqualPictures(Decoded(png), Expand(indexed));

  const std::string opaque = EncodePng(IndexedOfColours(3), Deflater::kZlib);
  EXPECT_EQ(ChunkTypes(opaque), "IHDR PLTE IDAT IEND");
}

TEST(EncodePng, ZopfliNeverGivesALargerFile) {
  const IndexedPicture indexed = IndexedOfColours(200);
  EXPECT_LE(EncodePng(indexed, Deflater::kZopfli).size(), EncodePng(indexed, Deflater::kZlib).size());
}

TEST(FitPictureIntoFace, SmoothPicturesOfManyColoursComeOutExact) {
  std::vector<std::uint8_t> everyLevel;
  for (int level = 0; level < 256; ++level) everyLevel.push_back(static_cast<std::uint8_t>(level));
  for (const Picture& original : {GreyLevels(everyLevel), Gradient(0xFF)}) {
    const FitResult face = Fitted(RgbaPng(original));
    ExpectEqualPictures(Decoded(face.png), original);
    EXPECT_TRUE(std::isinf(face.psnr));
  }
}

// --- mapping onto a palette ---

TEST(NearestMapping, JudgesColoursAsTheyShowOverWhiteAndOverBlack) {
  // Nearest by RGBA values would be the almost transparent black; shown,
  // a transparent entry of any colour is exact.
  const Picture clear = TransparentPicture(2, 2);
  const IndexedPicture indexed = NearestMapping(clear, {{0, 0, 0, 10}, {255, 255, 255, 0}}).Smoothed(0);
  EXPECT_EQ(indexed.indices, std::vector<std::uint8_t>(4, 1));
}

TEST(NearestMapping, RepeatsANeighboursEntryWithinTheTolerance) {
  const Picture stripes = Painted(kFaceSide, kFaceSide, [](int x, int) {
    const auto level = static_cast<std::uint8_t>(x % 2 ? 102 : 100);
    return Colour{level, level, level, 0xFF};
  });
  const NearestMapping mapping(stripes, {{100, 100, 100, 0xFF}, {102, 102, 102, 0xFF}});
  for (const auto& [steps, exact] : {std::pair{0, true}, {1, true}, {2, false}}) {
    SCOPED_TRACE(steps);
    const IndexedPicture indexed = mapping.Smoothed(StepsEverywhere(steps));
    const std::set<std::uint8_t> entries(indexed.indices.begin(), indexed.indices.end());
    EXPECT_EQ(entries.size(), exact ? 2u : 1u);
    if (exact) ExpectEqualPictures(Expand(indexed), stripes);
  }
}

}  // namespace
}  // namespace velmora::fit
