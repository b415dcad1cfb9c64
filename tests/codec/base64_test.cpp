// SPDX-License-Identifier: GPL-3.0-or-later
#include "codec/base64.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "codec/code_page.h"

namespace velmora::modBase64 {
namespace {

constexpr std::u16string_view kAlphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::u16string Bytes(std::initializer_list<unsigned> values) {
  std::vector<std::uint8_t> raw(values.begin(), values.end());
  return BytesToByteString(raw);
}

std::u16string Ascii(std::string_view text) {
  return {text.begin(), text.end()};
}

// The byte a character stands for: its position in the code page, 0 for a
// character the code page does not hold.
unsigned ReferenceByte(char16_t c) {
  static const auto bytes = [] {
    std::vector<std::uint8_t> table(0x10000, 0);
    for (unsigned b = 0; b < 256; ++b) table[kAnsiCodePage[b]] = static_cast<std::uint8_t>(b);
    return table;
  }();
  return bytes[c];
}

// Bit-at-a-time coders to compare the codec against.
std::u16string ReferenceEncode(const std::u16string& text) {
  std::u16string out;
  unsigned buffer = 0;
  int bits = 0;
  for (char16_t c : text) {
    buffer = (buffer << 8) | ReferenceByte(c);
    bits += 8;
    while (bits >= 6) out += kAlphabet[(buffer >> (bits -= 6)) & 63];
  }
  if (bits > 0) out += kAlphabet[(buffer << (6 - bits)) & 63];
  while (out.size() % 4 != 0) out += u'=';
  return out;
}

std::u16string ReferenceDecode(std::u16string_view text) {
  for (int pad = 0; pad < 2 && text.ends_with(u'='); ++pad) text.remove_suffix(1);
  std::u16string out;
  unsigned buffer = 0;
  int bits = 0;
  for (char16_t c : text) {
    const std::size_t value = kAlphabet.find(c);
    buffer = (buffer << 6) | (value == kAlphabet.npos ? 0u : static_cast<unsigned>(value));
    bits += 6;
    if (bits >= 8) out += kAnsiCodePage[(buffer >> (bits -= 8)) & 255];
  }
  return out;
}

// The byte string a text stands for when encoded: each character replaced by
// that of its byte.
std::u16string AsByteString(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) out += kAnsiCodePage[ReferenceByte(c)];
  return out;
}

std::u16string RandomCode(std::size_t length, std::mt19937& random) {
  std::uniform_int_distribution<std::size_t> index(0, 63);
  std::u16string code(length, u'A');
  for (auto& c : code) c = kAlphabet[index(random)];
  return code;
}

// Characters of every kind a text may hold: of the code page, in the band
// 0x80-0x9F without being in it, beyond it, surrogates, and the last one.
std::u16string RandomText(std::size_t length, std::mt19937& random) {
  std::uniform_int_distribution<unsigned> kind(0, 7);
  std::uniform_int_distribution<unsigned> unit(0, 0xFFFF);
  std::u16string text(length, u'\0');
  for (auto& c : text) {
    const unsigned value = unit(random);
    switch (kind(random)) {
      case 0: c = static_cast<char16_t>(value); break;
      case 1: c = static_cast<char16_t>(0x80 | (value & 31)); break;
      case 2: c = static_cast<char16_t>(0xD800 | (value & 0x7FF)); break;
      case 3: c = u'\uFFFF'; break;
      default: c = kAnsiCodePage[value & 255];
    }
  }
  return text;
}

// Every case runs once per code path this machine offers: each vector
// instruction set that Highway compiled and the CPU has, and the
// table-driven code (Highway's SCALAR or EMU128 target).
class Base64 : public ::testing::TestWithParam<std::int64_t> {
 protected:
  void SetUp() override { hwy::SetSupportedTargetsForTest(GetParam()); }
  void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

INSTANTIATE_TEST_SUITE_P(EveryPath, Base64, ::testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),
                         [](const auto& path) { return std::string(hwy::TargetName(path.param)); });

TEST_P(Base64, Rfc4648VectorsEncodeAndDecodeBothWays) {
  const std::array<std::pair<std::string_view, std::string_view>, 7> vectors = {{
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}}};
  for (const auto& [bytes, code] : vectors) {
    EXPECT_EQ(EncodeBase64(Ascii(bytes)), Ascii(code)) << bytes;
    EXPECT_EQ(DecodeBase64(Ascii(code)), Ascii(bytes)) << code;
  }
}

TEST_P(Base64, DecodingCountsEveryCharacterByPosition) {
  const std::array<std::pair<std::u16string, std::u16string>, 12> texts = {{
      {u"YWI", u"ab"},  // missing padding
      {u"YQ", u"a"},
      {u"Y", u""},  // a lone character is dropped
      {u"YWJjY", u"abc"},
      {u"=", u""},
      {u"==", u""},
      {u"====", Bytes({0})},  // only two "=" are padding
      {u"Q===", Bytes({64})},
      {u"YQ==YQ==", Bytes({97, 0, 0, 97})},
      {u"YW Jj", Bytes({97, 96, 9})},  // a space counts as 0
      {u"YWJj\r\n", Bytes({97, 98, 99, 0})},
      {u"\u20AC\uFFFFAA", Bytes({0, 0, 0})}}};  // beyond the table
  for (const auto& [code, bytes] : texts) EXPECT_EQ(DecodeBase64(code), bytes);
}

TEST_P(Base64, EncodingGivesFourCharactersPerStartedGroup) {
  for (std::size_t n : {1u, 2u, 3u, 4u, 724u, 725u, 726u}) {
    const std::u16string code = EncodeBase64(std::u16string(n, u'x'));
    EXPECT_EQ(code.size(), 4 * ((n + 2) / 3)) << n;
    EXPECT_EQ(code.find_first_of(u"\r\n"), std::u16string::npos);
  }
  EXPECT_EQ(EncodeBase64(std::u16string(725, u'x')).size(), 968u);
}

// Long runs, so that the characters go through the vectors too.
TEST_P(Base64, CharactersNoByteGivesCountAsByteZero) {
  const std::u16string zeros = EncodeBase64(std::u16string(200, u'\0'));
  const char16_t outsideTheCodePage[] = {0x0080, 0x009F, 0x0100, 0x2023, 0x20AD, 0x3022, 0x4000, 0xD800, 0xDFFF, 0xFFFF};
  for (char16_t c : outsideTheCodePage) {
    EXPECT_EQ(EncodeBase64(std::u16string(200, c)), zeros) << static_cast<unsigned>(c);
  }
}

TEST_P(Base64, BytesFrom80To9FPassThroughTheirCodePageCharacters) {
  EXPECT_EQ(DecodeBase64(u"gA=="), u"\u20AC");  // byte 0x80
  EXPECT_EQ(EncodeBase64(u"\u20AC\u00FF"), u"gP8=");
  for (unsigned byte = 0x80; byte < 0xA0; ++byte) {
    const std::u16string run(200, kAnsiCodePage[byte]);
    const std::u16string code = EncodeBase64(run);
    EXPECT_EQ(code, ReferenceEncode(run)) << byte;
    EXPECT_EQ(DecodeBase64(code), run) << byte;
  }
}

TEST_P(Base64, EveryByteValueAtEveryOffsetMatchesTheReference) {
  for (std::size_t length = 1; length <= 6; ++length) {
    for (std::size_t offset = 0; offset < length; ++offset) {
      for (unsigned value = 0; value < 256; ++value) {
        std::u16string bytes(length, kAnsiCodePage[0x55]);
        bytes[offset] = kAnsiCodePage[value];
        const std::u16string code = EncodeBase64(bytes);
        ASSERT_EQ(code, ReferenceEncode(bytes)) << length << " " << offset << " " << value;
        ASSERT_EQ(DecodeBase64(code), bytes) << length << " " << offset << " " << value;
      }
    }
  }
}

// All 65536 characters in a row, shifted so that each meets every offset of
// the widest vector.
TEST_P(Base64, EveryCharacterAtEveryOffsetEncodesLikeTheReference) {
  std::u16string all(0x10000, u'\0');
  for (std::size_t c = 0; c < all.size(); ++c) all[c] = static_cast<char16_t>(c);
  for (std::size_t shift = 0; shift < 64; ++shift) {
    const std::u16string text = std::u16string(shift, u'x') + all;
    const std::u16string code = EncodeBase64(text);
    ASSERT_EQ(code, ReferenceEncode(text)) << shift;
    ASSERT_EQ(DecodeBase64(code), AsByteString(text)) << shift;
  }
}

// One character in an otherwise valid code: the block holding it decodes
// like the reference, value 0 and all, and so does the rest.
TEST_P(Base64, EveryCharacterInAValidCodeDecodesLikeTheReference) {
  std::mt19937 random(3);
  const std::u16string valid = RandomCode(130, random);
  for (unsigned c = 0; c < 0x10000; ++c) {
    std::u16string text = valid;
    text[64 + c % 64] = static_cast<char16_t>(c);
    ASSERT_EQ(DecodeBase64(text), ReferenceDecode(text)) << c;
  }
}

// Among them characters whose low byte is in the alphabet.
constexpr char16_t kOutsideTheAlphabet[] = {u'=',   u' ',   u'\n',  u'-',   0x0000, 0x007F, 0x0080, 0x00C1,
                                            0x0141, 0x2B00, 0x4100, 0x8041, 0xFF2B, 0xD800, 0xFFFF};

TEST_P(Base64, CharacterOutsideTheAlphabetAtEveryOffsetDecodesLikeTheReference) {
  std::mt19937 random(4);
  const std::u16string valid = RandomCode(260, random);
  for (std::size_t offset = 0; offset < valid.size(); ++offset) {
    for (char16_t c : kOutsideTheAlphabet) {
      std::u16string text = valid;
      text[offset] = c;
      ASSERT_EQ(DecodeBase64(text), ReferenceDecode(text)) << offset << " " << static_cast<unsigned>(c);
    }
  }
}

// Every length up to 400 and lengths around the chunks that encoding
// narrows at a time: 64 steps of 3/4 vector each, for vectors of 16, 32 and
// 64 bytes.
TEST_P(Base64, TextsOfEveryLengthMatchTheReference) {
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n <= 400; ++n) lengths.push_back(n);
  for (std::size_t vectorBytes : {16u, 32u, 64u}) {
    for (std::size_t steps : {63u, 64u, 65u, 66u, 128u, 129u}) {
      for (std::size_t n = steps * 3 * vectorBytes / 4 - 3; n <= steps * 3 * vectorBytes / 4 + 3; ++n) lengths.push_back(n);
    }
  }
  lengths.push_back(200003);
  std::mt19937 random(5);
  for (std::size_t length : lengths) {
    const std::u16string text = RandomText(length, random);
    const std::u16string code = EncodeBase64(text);
    ASSERT_EQ(code, ReferenceEncode(text)) << length;
    ASSERT_EQ(DecodeBase64(code), AsByteString(text)) << length;
    ASSERT_EQ(DecodeBase64(text), ReferenceDecode(text)) << length;
    const std::u16string valid = RandomCode(length, random);
    ASSERT_EQ(DecodeBase64(valid), ReferenceDecode(valid)) << length;
  }
}

TEST_P(Base64, RandomByteStringsOfEveryLengthRoundTrip) {
  std::mt19937 random(20);
  std::uniform_int_distribution<unsigned> byte(0, 255);
  for (std::size_t length = 0; length <= 1000; ++length) {
    std::u16string bytes(length, u'\0');
    for (auto& c : bytes) c = kAnsiCodePage[byte(random)];
    const std::u16string code = EncodeBase64(bytes);
    ASSERT_EQ(code, ReferenceEncode(bytes)) << length;
    ASSERT_EQ(DecodeBase64(code), bytes) << length;
  }
}

TEST_P(Base64, AnySixteenBitTextDecodesToItsLength) {
  std::mt19937 random(7);
  std::uniform_int_distribution<unsigned> unit(0, 0xFFFF);
  for (std::size_t length = 1; length <= 300; ++length) {
    std::u16string text(length, u'\0');
    for (auto& c : text) c = static_cast<char16_t>(unit(random));
    std::size_t n = length;
    if (text[n - 1] == u'=') --n;
    if (n > 0 && text[n - 1] == u'=') --n;
    EXPECT_EQ(DecodeBase64(text).size(), (3 * n) / 4);
  }
}

}  // namespace
}  // namespace velmora::modBase64
