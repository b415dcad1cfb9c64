// SPDX-License-Identifier: GPL-3.0-or-later
#include "face/face_header.h"

namespace velmora::face {

std::u16string HeaderLine(std::u16string_view code) {
  return std::u16string(kHeaderFieldName).append(u" ").append(code);
}

std::vector<std::u16string> FoldedHeaderLines(std::u16string_view code) {
  return FoldedLines(kHeaderFieldName, code, kLongestFoldedLine);
}

std::vector<std::u16string> FoldedLines(std::u16string_view fieldName, std::u16string_view value,
                                        std::size_t longestLine) {
  std::vector<std::u16string> lines{std::u16string(fieldName).append(u" ")};
  for (const char16_t character : value) {
    if (lines.back().size() == longestLine) lines.emplace_back(u" ");
    lines.back() += character;
  }
  return lines;
}

std::u16string JoinedLines(const std::vector<std::u16string>& lines, std::u16string_view lineBreak) {
  std::u16string joined;
  for (const std::u16string& line : lines) {
    if (!joined.empty()) joined += lineBreak;
    joined += line;
  }
  return joined;
}

}  // namespace velmora::face
