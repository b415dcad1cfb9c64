// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An X-Face made of any PNG file: the picture scaled as the fit scales it
// (fit/face_canvas.h), composited over white, and made black and white by
// each method of xface/black_and_white.h. Of the candidates whose code the
// library writes correctly, the one that looks closest (BlurredPsnr) wins;
// but when another comes within kCloseDb of it, the shortest code among those
// close ones wins: a dither's grain can cost twice the characters for a
// difference hardly seen. When no candidate has a code, the closest one is
// still chosen, so that the caller has a picture to show with the refusal.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "fit/fit_error.h"
#include "xface/bitmap.h"
#include "xface/black_and_white.h"

namespace velmora::xface {

inline constexpr double kCloseDb = 0.5;

struct BlackAndWhiteCandidate {
  Method method;
  Bitmap bitmap;
  double psnr;                         // BlurredPsnr against the grey picture
  std::optional<std::u16string> code;  // EncodeXFace's code; nothing when it refuses the bitmap
};

using Candidates = std::array<BlackAndWhiteCandidate, kMethods.size()>;

// The grey picture of a PNG file, or fit::DecodePng's error.
[[nodiscard]] std::variant<GreyPicture, fit::FitError> GreyPictureOfPng(std::span<const std::uint8_t> pngFile);

// Each method's bitmap, measured and encoded.
[[nodiscard]] Candidates CandidatesFor(const GreyPicture& grey);

// The candidate to keep; the span holds at least one.
[[nodiscard]] const BlackAndWhiteCandidate& ChosenCandidate(std::span<const BlackAndWhiteCandidate> candidates);

// The chosen candidate for a PNG file, or fit::DecodePng's error.
[[nodiscard]] std::variant<BlackAndWhiteCandidate, fit::FitError> XFaceOfPng(std::span<const std::uint8_t> pngFile);

}  // namespace velmora::xface
