// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start of a PNG file: its signature and the header chunk that follows it
// with the picture's width and height, and the big-endian numbers PNG writes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::face {

inline constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";

struct PixelSize {
  std::uint32_t width;
  std::uint32_t height;
};

// The number in the first four bytes, most significant first; fewer bytes
// count as the number's top bytes alone.
[[nodiscard]] std::uint32_t ReadBigEndian32(std::string_view bytes);

// Appends the number's four bytes, most significant first.
void AppendBigEndian32(std::string& out, std::uint32_t value);

// A PNG file's size from its header chunk; none for anything else.
[[nodiscard]] std::optional<PixelSize> PngPixelSize(std::string_view file);

}  // namespace velmora::face
