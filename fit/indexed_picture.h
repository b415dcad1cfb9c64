// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture as palette indices, the form an indexed PNG stores.

#include <cstdint>
#include <vector>

#include "fit/picture.h"

namespace velmora::fit {

struct Colour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  std::uint8_t alpha;

  friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kTransparentBlack{0, 0, 0, 0};

struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;  // one per pixel, rows top to bottom
  std::vector<Colour> palette;        // at most 256 entries; every index names one
};

// The RGBA picture the indices stand for.
[[nodiscard]] Picture Expand(const IndexedPicture& indexed);

}  // namespace velmora::fit
