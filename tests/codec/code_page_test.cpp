// SPDX-License-Identifier: GPL-3.0-or-later
#include "codec/code_page.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace velmora {
namespace {

TEST(CodePage, AllBytesRoundTripThroughDistinctCharactersBelow16384) {
  std::vector<std::uint8_t> all(256);
  for (unsigned b = 0; b < 256; ++b) all[b] = static_cast<std::uint8_t>(b);
  const std::u16string text = BytesToByteString(all);
  EXPECT_EQ(std::set<char16_t>(text.begin(), text.end()).size(), 256u);
  for (char16_t c : text) EXPECT_LT(c, 16384);
  EXPECT_EQ(ByteStringToBytes(text), std::string(all.begin(), all.end()));
}

TEST(CodePage, IsWindows1252WithUndefinedBytesAsControls) {
  EXPECT_EQ(kAnsiCodePage[0x80], u'\u20AC');
  EXPECT_EQ(kAnsiCodePage[0x9F], u'\u0178');
  EXPECT_EQ(kAnsiCodePage[0x81], u'\u0081');
  EXPECT_EQ(kAnsiCodePage[0xE4], u'\u00E4');
}

TEST(CodePage, CharactersOutsideItBecomeQuestionMarks) {
  const std::u16string text = {u'a', 0x0100, 0xD83D, 0x20AC};
  EXPECT_EQ(ByteStringToBytes(text), "a??\x80");
}

}  // namespace
}  // namespace velmora
