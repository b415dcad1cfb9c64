// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions between the logic's 16-bit strings and the UTF-8 that the
// operating system's file names and messages use.

#include <charconv>
#include <concepts>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace velmora {

// A lone surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(std::u16string_view text);
// Malformed UTF-8 sequences become U+FFFD.
[[nodiscard]] std::u16string FromUtf8(std::string_view text);

// File names are bytes, and not every name is valid UTF-8. A name travels
// through the logic with each byte that does not decode (0x80 to 0xFF) as the
// lone surrogate U+DC80 to U+DCFF, and turns back into the same bytes at the
// file system, so that every listed entry leads to exactly its own file.
[[nodiscard]] std::u16string FromNativeName(std::string_view name);
// The bytes of such a name: the escaped bytes come back, the rest is UTF-8
// (any other lone surrogate becomes U+FFFD).
[[nodiscard]] std::string ToNativeName(std::u16string_view name);
// The name as the user sees it: each escaped byte shows as U+FFFD.
[[nodiscard]] std::u16string ShownName(std::u16string_view name);

// The number in decimal digits, a minus sign in front when negative, no
// separator: 1024 gives "1024".
template <std::integral Number>
[[nodiscard]] std::u16string DecimalText(Number number) {
  char digits[std::numeric_limits<Number>::digits10 + 2];
  const char* end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  return {static_cast<const char*>(digits), end};
}

// Whether both texts are the same. The standard library compares 16-bit
// strings character by character; comparing memory keeps a text box holding
// a megabyte of code quick to write.
[[nodiscard]] inline bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

}  // namespace velmora
