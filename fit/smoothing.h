// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Maps a picture onto a palette, each pixel to the entry closest to it as a
// viewer shows both, over white and over black; and trades a little of that
// closeness for a smaller file.
//
// Deflate stores a repeat of what came just before, or of the row above, in
// a few bits. A pixel whose left or upper neighbour's entry comes almost as
// close as its own nearest one takes the neighbour's entry instead, so that
// runs and repeated rows grow. The file shrinks by more than the picture
// loses, and the bytes saved buy more colours within the limit: on real
// pictures that is worth about a decibel.

#include <cstdint>
#include <vector>

#include "fit/indexed_picture.h"
#include "fit/picture.h"

namespace velmora::fit {

// How far a pixel's colour may move for the sake of a repeat: the squared
// difference of sRGB samples summed over red, green and blue, over white and
// over black, in 1/255 steps of a sample (StepsEverywhere).
using Tolerance = std::int64_t;

// A difference of `steps` sample values in every colour channel on both
// backdrops.
[[nodiscard]] constexpr Tolerance StepsEverywhere(int steps) { return Tolerance{6} * 255 * 255 * steps * steps; }

class NearestMapping {
 public:
  // The picture and the palette (at most 256 entries) must have pixels and
  // entries; throws std::bad_alloc when memory runs out.
  NearestMapping(const Picture& picture, std::vector<Colour> palette);

  // Every pixel mapped to its nearest entry, or to its left or upper
  // neighbour's entry when that comes within `tolerance` of the nearest.
  [[nodiscard]] IndexedPicture Smoothed(Tolerance tolerance) const;

 private:
  const Picture& picture_;
  std::vector<Colour> palette_;
  std::vector<std::uint8_t> nearest_;  // a pixel's nearest entry
  std::vector<Tolerance> error_;       // and how far it is from the pixel
};

}  // namespace velmora::fit
