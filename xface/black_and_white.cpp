// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/black_and_white.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "fit/srgb.h"

namespace velmora::xface {
namespace {

using fit::LinearToSrgb;
using fit::SrgbToLinear;

constexpr double kMaxSample = 255.0;
constexpr double kRedWeight = 0.2126;
constexpr double kGreenWeight = 0.7152;
constexpr double kBlueWeight = 0.0722;
constexpr double kBlack = 0.0;
constexpr double kWhite = 1.0;
constexpr double kMidLight = 0.5;

constexpr int kBayerBits = 3;
constexpr int kBayerSide = 1 << kBayerBits;
constexpr double kBayerCells = kBayerSide * kBayerSide;

constexpr double kBlurSigma = 1.0;
constexpr int kBlurRadius = 3;

std::size_t At(int x, int y) { return static_cast<std::size_t>(y) * kXFaceSide + static_cast<std::size_t>(x); }

double OverWhite(std::uint8_t sample, double alpha) {
  return alpha * SrgbToLinear(sample / kMaxSample) + (1.0 - alpha);
}

Bitmap Thresholded(const GreyPicture& grey, double threshold, bool blackAtThreshold) {
  Bitmap bitmap;
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) {
      const double light = grey[At(x, y)];
      bitmap.SetBlack(x, y, light < threshold || (blackAtThreshold && light == threshold));
    }
  }
  return bitmap;
}

// Pixels at the median itself go to the side it lies nearer in light, so a
// picture of one tone turns wholly black or wholly white.
Bitmap MedianThreshold(const GreyPicture& grey) {
  GreyPicture sorted = grey;
  const auto middle = sorted.begin() + kXFacePixels / 2;
  std::nth_element(sorted.begin(), middle, sorted.end());
  return Thresholded(grey, *middle, *middle < kMidLight);
}

// Each pixel's error goes 7/16 to the right, 3/16 below left, 5/16 below and
// 1/16 below right.
Bitmap FloydSteinberg(const GreyPicture& grey) {
  GreyPicture light = grey;
  Bitmap bitmap;
  const auto spread = [&light](int x, int y, double share) {
    if (x >= 0 && x < kXFaceSide && y < kXFaceSide) light[At(x, y)] += share;
  };
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) {
      const double wanted = light[At(x, y)];
      const bool black = wanted < kMidLight;
      bitmap.SetBlack(x, y, black);
      const double error = wanted - (black ? kBlack : kWhite);
      spread(x + 1, y, error * 7 / 16);
      spread(x - 1, y + 1, error * 3 / 16);
      spread(x, y + 1, error * 5 / 16);
      spread(x + 1, y + 1, error * 1 / 16);
    }
  }
  return bitmap;
}

// The recursive Bayer matrix: the 2 x 2 order {0, 2; 3, 1} on the finest
// bits of x and y gives the value's highest bits.
int BayerRank(int x, int y) {
  int rank = 0;
  for (int bit = 0; bit < kBayerBits; ++bit) {
    const int xBit = x >> bit & 1;
    const int yBit = y >> bit & 1;
    rank = rank << 2 | ((xBit ^ yBit) << 1 | yBit);
  }
  return rank;
}

Bitmap Bayer(const GreyPicture& grey) {
  Bitmap bitmap;
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) {
      const double threshold = (BayerRank(x % kBayerSide, y % kBayerSide) + 0.5) / kBayerCells;
      bitmap.SetBlack(x, y, grey[At(x, y)] < threshold);
    }
  }
  return bitmap;
}

using Kernel = std::array<double, 2 * kBlurRadius + 1>;

Kernel GaussianKernel() {
  Kernel kernel{};
  for (int i = -kBlurRadius; i <= kBlurRadius; ++i) {
    kernel[static_cast<std::size_t>(i + kBlurRadius)] = std::exp(-i * i / (2 * kBlurSigma * kBlurSigma));
  }
  double sum = 0.0;
  for (const double weight : kernel) sum += weight;
  for (double& weight : kernel) weight /= sum;
  return kernel;
}

// One pass along x (dx = 1) or y (dy = 1).
GreyPicture BlurredAlong(const GreyPicture& light, int dx, int dy) {
  static const Kernel kernel = GaussianKernel();
  GreyPicture blurred{};
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) {
      double sum = 0.0;
      for (int i = -kBlurRadius; i <= kBlurRadius; ++i) {
        const int sx = std::clamp(x + i * dx, 0, kXFaceSide - 1);
        const int sy = std::clamp(y + i * dy, 0, kXFaceSide - 1);
        sum += kernel[static_cast<std::size_t>(i + kBlurRadius)] * light[At(sx, sy)];
      }
      blurred[At(x, y)] = sum;
    }
  }
  return blurred;
}

GreyPicture Blurred(const GreyPicture& light) { return BlurredAlong(BlurredAlong(light, 1, 0), 0, 1); }

GreyPicture Light(const Bitmap& bitmap) {
  GreyPicture light{};
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) light[At(x, y)] = bitmap.IsBlack(x, y) ? kBlack : kWhite;
  }
  return light;
}

}  // namespace

GreyPicture GreyOverWhite(const fit::Picture& canvas) {
  GreyPicture grey{};
  for (std::size_t pixel = 0; pixel < kXFacePixels; ++pixel) {
    const std::uint8_t* rgba = &canvas.rgba[pixel * fit::kChannels];
    const double alpha = rgba[3] / kMaxSample;
    grey[pixel] = kRedWeight * OverWhite(rgba[0], alpha) + kGreenWeight * OverWhite(rgba[1], alpha) +
                  kBlueWeight * OverWhite(rgba[2], alpha);
  }
  return grey;
}

Bitmap BlackAndWhite(const GreyPicture& grey, Method method) {
  switch (method) {
    case Method::kMedianThreshold: return MedianThreshold(grey);
    case Method::kFloydSteinberg: return FloydSteinberg(grey);
    case Method::kBayer: return Bayer(grey);
  }
  return MedianThreshold(grey);
}

double BlurredPsnr(const Bitmap& bitmap, const GreyPicture& grey) {
  const GreyPicture seen = Blurred(Light(bitmap));
  const GreyPicture wanted = Blurred(grey);
  double squaredError = 0.0;
  for (std::size_t pixel = 0; pixel < kXFacePixels; ++pixel) {
    const double difference = LinearToSrgb(seen[pixel]) - LinearToSrgb(wanted[pixel]);
    squaredError += difference * difference;
  }
  if (squaredError == 0.0) return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(static_cast<double>(kXFacePixels) / squaredError);
}

}  // namespace velmora::xface
