// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The header that carries a Face in a mail or news message: "Face: " and the
// code, on one line or folded.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::face {

// The header field's name with its colon, as a message carries it.
inline constexpr std::u16string_view kHeaderFieldName = u"Face:";
// The longest line of a folded header: the line length of Base64 in mail.
inline constexpr std::size_t kLongestFoldedLine = 76;

// "Face: " and the code, on one line.
[[nodiscard]] std::u16string HeaderLine(std::u16string_view code);

// The header folded: the first line "Face: " and the start of the code, each
// further line a space and the code's next characters, none longer than
// kLongestFoldedLine. Base64 readers skip the spaces, so the folded header
// carries the same code.
[[nodiscard]] std::vector<std::u16string> FoldedHeaderLines(std::u16string_view code);

// Any header folded so: the field name (with its colon), a space and the
// start of the value, each further line a space and the value's next
// characters, none longer than `longestLine`. For values without white space
// that readers take whole once the folds are gone.
[[nodiscard]] std::vector<std::u16string> FoldedLines(std::u16string_view fieldName, std::u16string_view value,
                                                      std::size_t longestLine);

// The lines with `lineBreak` between them, none after the last.
[[nodiscard]] std::u16string JoinedLines(const std::vector<std::u16string>& lines, std::u16string_view lineBreak);

}  // namespace velmora::face
