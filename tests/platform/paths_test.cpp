// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace velmora {
namespace {

TEST(Paths, NormalizeAndJoin) {
  const struct {
    std::u16string_view path;
    std::u16string_view folder;
  } kCases[] = {{u"/", u"/"},          {u"//", u"/"},       {u"/a/./b//c/", u"/a/b/c"}, {u"/a/b/..", u"/a"},
                {u"/a/../..", u"/"},   {u"/a/../b/./", u"/b"}, {u"x/../y", u"/home/anna/y"},
                {u"", u"/home/anna"}};
  for (const auto& c : kCases) EXPECT_EQ(NormalizeFolder(c.path, u"/home/anna"), c.folder) << ToUtf8(c.path);

  EXPECT_EQ(JoinPath(u"/", u"a.png"), u"/a.png");
  EXPECT_EQ(JoinPath(u"/home/anna", u"a.png"), u"/home/anna/a.png");
}

TEST(KeepingProposedBytes, AChoiceThatReadsAsTheProposalKeepsItsBytes) {
  const std::u16string proposed = u"/pics\xDCFE/bad\xDCFF.txt";
  struct Case {
    std::u16string chosen;
    std::u16string kept;
  };
  const Case cases[] = {
      {u"/pics\uFFFD/bad\uFFFD.txt", proposed},
      {u"/pics\uFFFD/other.txt", u"/pics\xDCFE/other.txt"},
      {u"/elsewhere/bad\uFFFD.txt", u"/elsewhere/bad\uFFFD.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepingProposedBytes(proposed, c.chosen), c.kept) << ToUtf8(c.chosen);
  EXPECT_EQ(KeepingProposedBytes(u"Face-pic.png", u"/home/Face-pic.png"), u"/home/Face-pic.png");
}

}  // namespace
}  // namespace velmora
