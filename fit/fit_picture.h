// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes the best Face a picture can give: any PNG file in, a PNG file of
// kFaceSide x kFaceSide pixels and at most kMaxFaceBytes bytes out.
//
// The picture is scaled to fit the square with its proportions kept, larger
// or smaller, and centred on transparent (fit/face_canvas.h). That canvas is
// kept exactly when it fits, or mapped onto palettes of many colour counts,
// and each candidate written as a PNG file with no ancillary chunk
// (fit/png_encode.h). Of the candidates that fit, the one closest to the
// canvas wins (fit/candidate_search.h).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "face/face_limits.h"
#include "fit/face_canvas.h"
#include "fit/fit_error.h"

namespace velmora::fit {

// The largest Face file, in bytes.
inline constexpr std::size_t kMaxFaceBytes = face::kLargestFaceBytes;

struct FitResult {
  std::string png;  // the new file's bytes
  int colours;      // distinct colours in it
  double psnr;      // dB against the scaled picture, over white and over black; infinite when equal
};

// The Face made of a PNG file, or why there is none: kUnreadable,
// kTooManyPixels (fit/png_decode.h), or kDoesNotFit. With the present limits
// kDoesNotFit cannot happen: at 2 colours a kFaceSide x kFaceSide picture
// takes 1 bit per pixel, and even stored uncompressed its file stays near 450
// bytes.
// Takes well under a second; throws std::bad_alloc when memory runs out.
[[nodiscard]] std::variant<FitResult, FitError> FitPictureIntoFace(std::span<const std::uint8_t> pngFile);

// The same for a picture decoded already, in any format.
[[nodiscard]] std::variant<FitResult, FitError> FitPictureIntoFace(const Picture& picture);

// The Face of a square of the picture (CroppedCanvas).
[[nodiscard]] std::variant<FitResult, FitError> FitSquareIntoFace(const Picture& picture, const Square& square);

}  // namespace velmora::fit
