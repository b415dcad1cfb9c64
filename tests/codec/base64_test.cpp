#include "codec/base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codec/code_page.h"

namespace velmora::modBase64 {
namespace {

std::u16string Bytes(std::initializer_list<unsigned> values) {
  std::vector<std::uint8_t> raw(values.begin(), values.end());
  return BytesToByteString(raw);
}

std::u16string Ascii(std::string_view text) {
  return {text.begin(), text.end()};
}

// A bit-at-a-time encoder to compare the table-driven one against.
std::u16string ReferenceEncode(const std::u16string& byteString) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::string bytes = ByteStringToBytes(byteString);
  std::u16string out;
  unsigned buffer = 0;
  int bits = 0;
  for (char byte : bytes) {
    buffer = (buffer << 8) | static_cast<std::uint8_t>(byte);
    bits += 8;
    while (bits >= 6) out += static_cast<char16_t>(kAlphabet[(buffer >> (bits -= 6)) & 63]);
  }
  if (bits > 0) out += static_cast<char16_t>(kAlphabet[(buffer << (6 - bits)) & 63]);
  while (out.size() % 4 != 0) out += u'=';
  return out;
}

struct Rfc4648Vector {
  std::string_view bytes;
  std::string_view code;
};

class Rfc4648 : public ::testing::TestWithParam<Rfc4648Vector> {};

TEST_P(Rfc4648, EncodesAndDecodesBothWays) {
  const auto& [bytes, code] = GetParam();
  EXPECT_EQ(EncodeBase64(Ascii(bytes)), Ascii(code));
  EXPECT_EQ(DecodeBase64(Ascii(code)), Ascii(bytes));
}

INSTANTIATE_TEST_SUITE_P(Vectors, Rfc4648,
                         ::testing::Values(Rfc4648Vector{"", ""}, Rfc4648Vector{"f", "Zg=="},
                                           Rfc4648Vector{"fo", "Zm8="}, Rfc4648Vector{"foo", "Zm9v"},
                                           Rfc4648Vector{"foob", "Zm9vYg=="},
                                           Rfc4648Vector{"fooba", "Zm9vYmE="},
                                           Rfc4648Vector{"foobar", "Zm9vYmFy"}));

struct LenientDecode {
  std::u16string code;
  std::u16string bytes;
};

class DecodeWithoutValidation : public ::testing::TestWithParam<LenientDecode> {};

TEST_P(DecodeWithoutValidation, CountsEveryCharacterByPosition) {
  EXPECT_EQ(DecodeBase64(GetParam().code), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    MalformedTexts, DecodeWithoutValidation,
    ::testing::Values(LenientDecode{u"YWI", u"ab"},           // missing padding
                      LenientDecode{u"YQ", u"a"},
                      LenientDecode{u"Y", u""},               // a lone character is dropped
                      LenientDecode{u"YWJjY", u"abc"},
                      LenientDecode{u"=", u""}, LenientDecode{u"==", u""},
                      LenientDecode{u"====", Bytes({0})},     // only two "=" are padding
                      LenientDecode{u"Q===", Bytes({64})},
                      LenientDecode{u"YQ==YQ==", Bytes({97, 0, 0, 97})},
                      LenientDecode{u"YW Jj", Bytes({97, 96, 9})},  // a space counts as 0
                      LenientDecode{u"YWJj\r\n", Bytes({97, 98, 99, 0})},
                      LenientDecode{u"\u20AC\uFFFFAA", Bytes({0, 0, 0})}));  // beyond the table

TEST(EncodeBase64, OutputLengthIsFourCharactersPerStartedGroup) {
  for (std::size_t n : {1u, 2u, 3u, 4u, 724u, 725u, 726u}) {
    const std::u16string code = EncodeBase64(std::u16string(n, u'x'));
    EXPECT_EQ(code.size(), 4 * ((n + 2) / 3)) << n;
    EXPECT_EQ(code.find_first_of(u"\r\n"), std::u16string::npos);
  }
  EXPECT_EQ(EncodeBase64(std::u16string(725, u'x')).size(), 968u);
}

TEST(EncodeBase64, CharactersNoByteGivesCountAsByteZero) {
  const std::u16string zero = EncodeBase64(Bytes({0}));
  EXPECT_EQ(EncodeBase64(u"\u0100"), zero);  // not in the code page
  EXPECT_EQ(EncodeBase64(u"\u4000"), zero);  // beyond the table
  EXPECT_EQ(EncodeBase64(u"\uFFFF"), zero);
}

TEST(Base64, HighBytesPassThroughTheirCodePageCharacters) {
  EXPECT_EQ(DecodeBase64(u"gA=="), u"\u20AC");  // byte 0x80
  EXPECT_EQ(EncodeBase64(u"\u20AC\u00FF"), u"gP8=");
}

TEST(Base64, EveryByteValueAtEveryOffsetMatchesTheReference) {
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

TEST(Base64, RandomByteStringsOfEveryLengthRoundTrip) {
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

TEST(DecodeBase64, AnySixteenBitTextDecodesToItsLength) {
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
