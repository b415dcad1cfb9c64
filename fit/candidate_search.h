// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search behind FitPictureIntoFace, with the byte limit open so that
// tests can reach the case where nothing fits.
//
// The canvas itself comes first: when its exact pixels fit, that is the
// answer. Otherwise candidates are the canvas mapped onto a palette of some
// colour count, smoothed to some tolerance (fit/smoothing.h), each written by
// EncodePng. A file grows with its colour count and shrinks with the
// tolerance, so for no smoothing and then for growing tolerances a search
// over the counts (steps growing from a first guess, then bisection) finds
// the largest count that still fits. The winner's count and the next two are
// quantised once more at libimagequant's best speed. Of all candidates that
// fit, the one with the highest CompositePsnr against the canvas (over white
// and over black) wins.

#include <cstddef>
#include <optional>
#include <string>

#include "fit/picture.h"

namespace velmora::fit {

struct Candidate {
  std::string png;  // the file's bytes
  int colours;      // distinct colours in the file
  double psnr;      // dB against the canvas; infinite when equal
};

// The best candidate of at most maxBytes bytes, or nothing when even the
// smallest count is too large. Throws std::bad_alloc when memory runs out.
[[nodiscard]] std::optional<Candidate> BestCandidateWithin(const Picture& canvas, std::size_t maxBytes);

}  // namespace velmora::fit
