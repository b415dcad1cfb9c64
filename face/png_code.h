// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a Face code of a PNG file is recognised by its first characters.

#include <string_view>

namespace velmora::face {

// The Base64 form of a PNG file's first 18 bytes and 6 bits: the signature,
// the IHDR chunk's length and type, and the zero top bits of a width below 1024.
inline constexpr std::u16string_view kPngCodePrefix = u"iVBORw0KGgoAAAANSUhEUgAAA";

[[nodiscard]] inline bool HasPngCodePrefix(std::u16string_view text) { return text.starts_with(kPngCodePrefix); }

}  // namespace velmora::face
