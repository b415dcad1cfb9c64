// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fit_picture.h"

#include "fit/candidate_search.h"
#include "fit/png_decode.h"

namespace velmora::fit {

std::variant<FitResult, FitError> FitPictureIntoFace(std::span<const std::uint8_t> pngFile) {
  const auto decoded = DecodePng(pngFile);
  if (const auto* error = std::get_if<FitError>(&decoded)) return *error;
  const Picture canvas = FaceCanvas(std::get<Picture>(decoded));
  auto best = BestCandidateWithin(canvas, kMaxFaceBytes);
  if (!best) return FitError::kDoesNotFit;
  return FitResult{std::move(best->png), best->colours, best->psnr};
}

}  // namespace velmora::fit
