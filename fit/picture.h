// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture in memory: 8-bit RGBA, rows top to bottom, straight (not
// premultiplied) alpha, colours in sRGB.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::fit {

inline constexpr int kChannels = 4;  // R, G, B, A

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * kChannels bytes

  [[nodiscard]] std::size_t PixelCount() const {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
};

// A picture of the given size, every pixel transparent black.
[[nodiscard]] Picture TransparentPicture(int width, int height);

}  // namespace velmora::fit
