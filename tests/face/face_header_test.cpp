// SPDX-License-Identifier: GPL-3.0-or-later
// The Face header folded into mail lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "face/face_header.h"

namespace velmora::face {
namespace {

// A code of that many characters that changes from one character to the
// next, so that a character lost, doubled or moved shows.
std::u16string CodeOfLength(std::size_t length) {
  const std::u16string_view alphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::u16string code;
  for (std::size_t i = 0; i < length; ++i) code += alphabet[i % alphabet.size()];
  return code;
}

// What a reader makes of the folded lines: the line breaks and the space
// that begins each continuation line go.
std::u16string Unfolded(const std::vector<std::u16string>& lines) {
  std::u16string header = lines.front();
  for (std::size_t i = 1; i < lines.size(); ++i) header += lines[i].substr(1);
  return header;
}

TEST(FaceHeaderTest, FoldedLinesKeepToTheLimitAndUnfoldToTheHeaderLine) {
  // "Face: " leaves 70 characters of code on the first line, and each
  // continuation line takes 75 after its space.
  const struct {
    std::size_t codeLength;
    std::size_t lines;
  } cases[] = {
      {0, 1}, {1, 1}, {70, 1}, {71, 2}, {145, 2}, {146, 3}, {968, 13},
  };
  for (const auto& c : cases) {
    const std::u16string code = CodeOfLength(c.codeLength);
    const std::vector<std::u16string> lines = FoldedHeaderLines(code);
    ASSERT_EQ(lines.size(), c.lines) << c.codeLength;
    EXPECT_TRUE(lines.front().starts_with(u"Face: ")) << c.codeLength;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(lines[i].size(), kLongestFoldedLine) << c.codeLength << " line " << i;
      if (i > 0) {
        EXPECT_TRUE(lines[i].starts_with(u' ') && lines[i].size() > 1 && lines[i][1] != u' ') << c.codeLength;
      }
    }
    EXPECT_EQ(Unfolded(lines), HeaderLine(code)) << c.codeLength;
  }
}

}  // namespace
}  // namespace velmora::face
