// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/line_breaks.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(LineBreaks, ConvertTextsBetweenCrLfAndLfWhateverBreaksTheyHold) {
  EXPECT_EQ(ShownText(u"a\r\nb\rc\nd\r"), u"a\nb\nc\nd\n");
  EXPECT_EQ(CrLfText(u"a\r\nb\rc\nd\r"), u"a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(CrLfText(u"\n\r\r\n\n\r"), u"\r\n\r\n\r\n\r\n\r\n") << "LF CR is two breaks, CR LF one";
  EXPECT_EQ(CrLfText(u"no break"), u"no break");
}

TEST(LineBreaks, MapPositionsBetweenCrLfAndShownForm) {
  const std::u16string text = u"ab\r\ncd\re";
  EXPECT_EQ(ShownPosition(text, 2), 2u);
  EXPECT_EQ(ShownPosition(text, 3), 3u) << "between CR and LF: behind the break";
  EXPECT_EQ(ShownPosition(text, 4), 3u);
  EXPECT_EQ(ShownPosition(text, 99), 7u);
  EXPECT_EQ(TextPosition(text, 3), 4u);
  EXPECT_EQ(TextPosition(text, 6), 7u);
  EXPECT_EQ(TextPosition(text, 99), text.size());
}

}  // namespace
}  // namespace velmora
