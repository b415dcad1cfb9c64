// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/quality.h"

#include <cmath>
#include <limits>

namespace velmora::fit {
namespace {

constexpr double kPeak = 255.0;
constexpr int kAlpha = 3;

double Composite(const std::uint8_t* pixel, int channel, double backdrop) {
  const double alpha = pixel[kAlpha] / kPeak;
  return pixel[channel] * alpha + backdrop * (1.0 - alpha);
}

double BackdropChannel(const Colour& backdrop, int channel) {
  const std::uint8_t values[] = {backdrop.red, backdrop.green, backdrop.blue};
  return values[channel];
}

}  // namespace

double CompositePsnr(const Picture& picture, const Picture& reference, std::span<const Colour> backdrops) {
  double squaredError = 0.0;
  for (const Colour& backdrop : backdrops) {
    for (std::size_t i = 0; i < picture.rgba.size(); i += kChannels) {
      for (int c = 0; c < kAlpha; ++c) {
        const double under = BackdropChannel(backdrop, c);
        const double difference =
            Composite(&picture.rgba[i], c, under) - Composite(&reference.rgba[i], c, under);
        squaredError += difference * difference;
      }
    }
  }
  const double samples = static_cast<double>(backdrops.size() * picture.PixelCount() * kAlpha);
  const double meanSquaredError = squaredError / samples;
  if (meanSquaredError == 0.0) return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(kPeak * kPeak / meanSquaredError);
}

}  // namespace velmora::fit
