// SPDX-License-Identifier: GPL-3.0-or-later
#include "face/face_header.h"

namespace velmora::face {

std::u16string HeaderLine(std::u16string_view code) {
  return std::u16string(kHeaderFieldName).append(u" ").append(code);
}

std::vector<std::u16string> FoldedHeaderLines(std::u16string_view code) {
  std::vector<std::u16string> lines{HeaderLine(u"")};
  for (const char16_t character : code) {
    if (lines.back().size() == kLongestFoldedLine) lines.emplace_back(u" ");
    lines.back() += character;
  }
  return lines;
}

}  // namespace velmora::face
