#pragma once
// Conversions between the logic's 16-bit strings and the UTF-8 that the
// operating system's file names and messages use.

#include <cstring>
#include <string>
#include <string_view>

namespace velmora {

// A lone surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(std::u16string_view text);
// Malformed UTF-8 sequences become U+FFFD.
[[nodiscard]] std::u16string FromUtf8(std::string_view text);

// Whether both texts are the same. The standard library compares 16-bit
// strings character by character; comparing memory keeps a text box holding
// a megabyte of code quick to write.
[[nodiscard]] inline bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

}  // namespace velmora
