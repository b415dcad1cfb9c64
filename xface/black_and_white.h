// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A grey picture made black and white three ways, and how close each result
// looks to it.
//
// Everything runs in linear light, where a pattern of black and white pixels
// gives off the mean of their light: a dither then keeps each region's
// brightness as the eye sees it from where the pixels blend.

#include <array>

#include "fit/picture.h"
#include "xface/bitmap.h"

namespace velmora::xface {

// Linear luminance, 0 black to 1 white, row by row from the top left.
using GreyPicture = std::array<double, kXFacePixels>;

enum class Method {
  kMedianThreshold,  // black below the median luminance: half the picture black, no pattern
  kFloydSteinberg,   // error diffusion: tones as fine grain
  kBayer,            // ordered dither with an 8 x 8 matrix: tones as a regular pattern
};
inline constexpr std::array kMethods = {Method::kMedianThreshold, Method::kFloydSteinberg, Method::kBayer};

// A kXFaceSide x kXFaceSide canvas (fit::FaceCanvas) composited over white
// in linear light, as Rec. 709 luminance.
[[nodiscard]] GreyPicture GreyOverWhite(const fit::Picture& canvas);

[[nodiscard]] Bitmap BlackAndWhite(const GreyPicture& grey, Method method);

// The peak signal-to-noise ratio in dB of the bitmap against the grey
// picture, both blurred alike: a Gaussian of 1 pixel's standard deviation in
// linear light, edges repeated outward, then compared as sRGB values.
// Blurred, a dither's pattern counts by the tone it gives, a threshold's
// lost tones and a blurred edge by how far they are off. Infinite when both
// blur to the same.
[[nodiscard]] double BlurredPsnr(const Bitmap& bitmap, const GreyPicture& grey);

}  // namespace velmora::xface
