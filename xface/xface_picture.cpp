// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/xface_picture.h"

#include <algorithm>
#include <utility>

#include "fit/face_canvas.h"
#include "fit/png_decode.h"
#include "xface/xface_code.h"

namespace velmora::xface {
namespace {

bool LooksCloser(const BlackAndWhiteCandidate& a, const BlackAndWhiteCandidate& b) { return a.psnr > b.psnr; }

// The shorter code; of equal ones the closer picture.
bool Preferred(const BlackAndWhiteCandidate& a, const BlackAndWhiteCandidate& b) {
  return std::pair(CodeCharacterCount(*a.code), -a.psnr) < std::pair(CodeCharacterCount(*b.code), -b.psnr);
}

std::optional<std::u16string> CodeOf(const Bitmap& bitmap) {
  auto code = EncodeXFace(bitmap);
  if (auto* text = std::get_if<std::u16string>(&code)) return std::move(*text);
  return std::nullopt;
}

}  // namespace

std::variant<GreyPicture, fit::FitError> GreyPictureOfPng(std::span<const std::uint8_t> pngFile) {
  const auto decoded = fit::DecodePng(pngFile);
  if (const auto* error = std::get_if<fit::FitError>(&decoded)) return *error;
  return GreyOverWhite(fit::FaceCanvas(std::get<fit::Picture>(decoded)));
}

Candidates CandidatesFor(const GreyPicture& grey) {
  Candidates candidates{};
  std::ranges::transform(kMethods, candidates.begin(), [&grey](Method method) {
    Bitmap bitmap = BlackAndWhite(grey, method);
    const double psnr = BlurredPsnr(bitmap, grey);
    return BlackAndWhiteCandidate{method, bitmap, psnr, CodeOf(bitmap)};
  });
  return candidates;
}

const BlackAndWhiteCandidate& ChosenCandidate(std::span<const BlackAndWhiteCandidate> candidates) {
  const BlackAndWhiteCandidate* closest = nullptr;
  for (const auto& candidate : candidates) {
    if (candidate.code && (closest == nullptr || LooksCloser(candidate, *closest))) closest = &candidate;
  }
  if (closest == nullptr) {
    return *std::max_element(candidates.begin(), candidates.end(),
                             [](const auto& a, const auto& b) { return LooksCloser(b, a); });
  }
  const BlackAndWhiteCandidate* chosen = closest;
  for (const auto& candidate : candidates) {
    if (candidate.code && candidate.psnr >= closest->psnr - kCloseDb && Preferred(candidate, *chosen))
      chosen = &candidate;
  }
  return *chosen;
}

std::variant<BlackAndWhiteCandidate, fit::FitError> XFaceOfPng(std::span<const std::uint8_t> pngFile) {
  const auto grey = GreyPictureOfPng(pngFile);
  if (const auto* error = std::get_if<fit::FitError>(&grey)) return *error;
  const Candidates candidates = CandidatesFor(std::get<GreyPicture>(grey));
  return ChosenCandidate(candidates);
}

}  // namespace velmora::xface
