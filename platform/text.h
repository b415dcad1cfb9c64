#pragma once
// Conversions between the logic's 16-bit strings and the UTF-8 that the
// operating system's file names and messages use.

#include <string>
#include <string_view>

namespace velmora {

// A lone surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(std::u16string_view text);
// Malformed UTF-8 sequences become U+FFFD.
[[nodiscard]] std::u16string FromUtf8(std::string_view text);

}  // namespace velmora
