// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fit_picture.h"

#include "fit/candidate_search.h"
#include "fit/png_decode.h"

namespace velmora::fit {

namespace {

std::variant<FitResult, FitError> FitCanvas(const Picture& canvas) {
  auto best = BestCandidateWithin(canvas, kMaxFaceBytes);
  if (!best) return FitError::kDoesNotFit;
  return FitResult{std::move(best->png), best->colours, best->psnr};
}

}  // namespace

std::variant<FitResult, FitError> FitPictureIntoFace(std::span<const std::uint8_t> pngFile) {
  const auto decoded = DecodePng(pngFile);
  if (const auto* error = std::get_if<FitError>(&decoded)) return *error;
  return FitPictureIntoFace(std::get<Picture>(decoded));
}

std::variant<FitResult, FitError> FitPictureIntoFace(const Picture& picture) { return FitCanvas(FaceCanvas(picture)); }

std::variant<FitResult, FitError> FitSquareIntoFace(const Picture& picture, const Square& square) {
  return FitCanvas(CroppedCanvas(picture, square));
}

}  // namespace velmora::fit
