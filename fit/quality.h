// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How close one picture comes to another, as a viewer would show both.

#include <span>

#include "fit/indexed_picture.h"
#include "fit/picture.h"

namespace velmora::fit {

inline constexpr Colour kWhite{0xFF, 0xFF, 0xFF, 0xFF};
inline constexpr Colour kBlack{0x00, 0x00, 0x00, 0xFF};

// The peak signal-to-noise ratio in dB of `picture` against `reference`
// (same size): both are composited over each backdrop (its alpha is ignored)
// in sRGB values, and the mean squared error runs over the red, green and blue
// of every pixel on every backdrop. Infinite when the composites are equal.
[[nodiscard]] double CompositePsnr(const Picture& picture, const Picture& reference,
                                   std::span<const Colour> backdrops);

}  // namespace velmora::fit
