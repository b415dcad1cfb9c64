// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search behind FitPictureIntoFace, with the byte limit open so that
// tests can reach the case where nothing fits.
//
// Candidates are the canvas quantised to a colour count, with full dithering
// or none, each written by EncodeIndexedPng. A file grows with its colour
// count, so for each dithering a search over the counts (steps growing from a
// first guess, then bisection) finds the largest count that still fits; of
// all candidates tried that fit, the one with the highest CompositePsnr
// against the canvas (over white and over black) wins.

#include <cstddef>
#include <optional>
#include <string>

#include "fit/picture.h"

namespace velmora::fit {

struct Candidate {
  std::string png;  // the file's bytes
  int colours;      // palette entries in the file
  double psnr;      // dB against the canvas; infinite when equal
};

// The best candidate of at most maxBytes bytes, or nothing when even the
// smallest count is too large. Throws std::bad_alloc when memory runs out.
[[nodiscard]] std::optional<Candidate> BestCandidateWithin(const Picture& canvas, std::size_t maxBytes);

}  // namespace velmora::fit
