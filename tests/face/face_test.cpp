// SPDX-License-Identifier: GPL-3.0-or-later
// The PNG header reader, the big-endian numbers and the readers' hints.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "face/png_header.h"
#include "face/reader_hints.h"

namespace velmora::face {
namespace {

using namespace std::string_view_literals;

// A PNG file's first 33 bytes: signature and header chunk, CRC included.
std::string PngStart(std::string_view width, std::string_view height) {
  return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"sv) + std::string(width) + std::string(height) +
         std::string("\x01\0\0\0\0\x12\x34\x56\x78"sv);
}

TEST(FaceTest, PixelSizeComesOnlyFromAPngHeader) {
  const std::string face = PngStart("\0\0\0\x30"sv, "\0\0\0\x30"sv);
  std::string wrongSignature = face;
  wrongSignature[1] = 'J';
  std::string wrongChunk = face;
  wrongChunk.replace(12, 4, "IDAT");
  const struct {
    const char* name;
    std::string file;
    std::optional<std::uint32_t> width, height;
  } cases[] = {
      {"48 x 48", face, 48, 48},
      {"wide", PngStart("\0\0\x01\x02"sv, "\0\0\0\x01"sv), 258, 1},
      {"header only up to the height", face.substr(0, 24), 48, 48},
      {"height cut short", face.substr(0, 23), std::nullopt, std::nullopt},
      {"empty", "", std::nullopt, std::nullopt},
      {"wrong signature", wrongSignature, std::nullopt, std::nullopt},
      {"wrong chunk", wrongChunk, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<PixelSize> size = PngPixelSize(c.file);
    ASSERT_EQ(size.has_value(), c.width.has_value()) << c.name;
    if (!size) continue;
    EXPECT_EQ(size->width, c.width) << c.name;
    EXPECT_EQ(size->height, c.height) << c.name;
  }
}

TEST(FaceTest, BigEndianNumbersRoundTripMostSignificantFirst) {
  const struct {
    std::uint32_t value;
    std::string_view bytes;
  } cases[] = {
      {0, "\0\0\0\0"sv},
      {13, "\0\0\0\x0D"sv},
      {0x12345678, "\x12\x34\x56\x78"sv},
      {0xFFFFFFFF, "\xFF\xFF\xFF\xFF"sv},
  };
  for (const auto& c : cases) {
    std::string out = "x";
    AppendBigEndian32(out, c.value);
    EXPECT_EQ(out.substr(1), c.bytes) << c.value;
    EXPECT_EQ(ReadBigEndian32(out.substr(1)), c.value);
  }
}

TEST(FaceTest, HintsNameEachLimitThePictureBreaks) {
  const std::u16string sizeHint = u"Manche Leseprogramme zeigen nur Bilder von genau 48 × 48 Pixeln.";
  const std::u16string bytesHint = u"Ein Leseprogramm warnt bei Bilddateien über 723 Bytes.";
  const auto padded = [](std::string file, std::size_t bytes) {
    file.resize(bytes, '\0');
    return file;
  };
  const std::string square = PngStart("\0\0\0\x30"sv, "\0\0\0\x30"sv);
  const std::string tall = PngStart("\0\0\0\x30"sv, "\0\0\0\x31"sv);
  const struct {
    const char* name;
    std::string file;
    std::u16string hints;
  } cases[] = {
      {"fits", padded(square, 723), u""},
      {"other size", padded(tall, 723), sizeHint},
      {"too many bytes", padded(square, 724), bytesHint},
      {"both", padded(tall, 724), sizeHint + u"|" + bytesHint},
      {"no PNG file", std::string(800, 'x'), u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReaderHints(c.file, u"|"), c.hints) << c.name;
}

}  // namespace
}  // namespace velmora::face
