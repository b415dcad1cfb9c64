// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "codec/base64.h"

namespace velmora::modBase64 {
namespace {

TEST(CodeTables, AreBuiltOnTheFirstNonEmptyCallOnly) {
  ASSERT_FALSE(TablesReady);
  EXPECT_TRUE(EncodeBase64(u"").empty());
  EXPECT_TRUE(DecodeBase64(u"").empty());
  EXPECT_FALSE(TablesReady);
  EXPECT_EQ(IndexToChar[0], 0);

  EXPECT_EQ(DecodeBase64(u"YQ"), u"a");
  EXPECT_TRUE(TablesReady);
  EXPECT_EQ(IndexToChar[63], u'/');
  EXPECT_EQ(CharToIndex[u'='], 0);
  EXPECT_EQ(ByteToChar[0x80], 0x20AC);
  EXPECT_EQ(CharToByte[0x20AC], 0x80);
}

}  // namespace
}  // namespace velmora::modBase64
