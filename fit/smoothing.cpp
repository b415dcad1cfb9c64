// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/smoothing.h"

#include <limits>
#include <utility>

namespace velmora::fit {
namespace {

constexpr int kAlpha = 3;
constexpr int kFullAlpha = 255;

// How far `shown` is from the pixel `wanted` points at, measured as
// Tolerance is. Over black a sample shows as value × alpha; over white the
// backdrop adds what alpha leaves, 255 − alpha; both in 1/255 steps.
Tolerance Distance(const std::uint8_t* wanted, const Colour& shown) {
  const int wantedAlpha = wanted[kAlpha];
  const int shownValues[] = {shown.red, shown.green, shown.blue};
  const Tolerance backdropShift = Tolerance{kFullAlpha} * (wantedAlpha - shown.alpha);
  Tolerance sum = 0;
  for (int c = 0; c < kAlpha; ++c) {
    const Tolerance overBlack = Tolerance{shownValues[c]} * shown.alpha - Tolerance{wanted[c]} * wantedAlpha;
    const Tolerance overWhite = overBlack + backdropShift;
    sum += overBlack * overBlack + overWhite * overWhite;
  }
  return sum;
}

}  // namespace

NearestMapping::NearestMapping(const Picture& picture, std::vector<Colour> palette)
    : picture_(picture), palette_(std::move(palette)) {
  nearest_.reserve(picture.PixelCount());
  error_.reserve(picture.PixelCount());
  for (std::size_t i = 0; i < picture.PixelCount(); ++i) {
    const std::uint8_t* wanted = &picture.rgba[i * kChannels];
    std::size_t best = 0;
    Tolerance bestError = std::numeric_limits<Tolerance>::max();
    for (std::size_t entry = 0; entry < palette_.size(); ++entry) {
      const Tolerance error = Distance(wanted, palette_[entry]);
      if (error < bestError) {
        bestError = error;
        best = entry;
      }
    }
    nearest_.push_back(static_cast<std::uint8_t>(best));
    error_.push_back(bestError);
  }
}

IndexedPicture NearestMapping::Smoothed(Tolerance tolerance) const {
  IndexedPicture indexed{picture_.width, picture_.height, nearest_, palette_};
  if (tolerance == 0) return indexed;
  const auto width = static_cast<std::size_t>(picture_.width);
  std::vector<std::uint8_t>& indices = indexed.indices;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const std::uint8_t* wanted = &picture_.rgba[i * kChannels];
    Tolerance chosenError = error_[i] + tolerance;
    const auto consider = [&](std::uint8_t neighbour) {
      const Tolerance error = Distance(wanted, palette_[neighbour]);
      if (error <= chosenError) {
        indices[i] = neighbour;
        chosenError = error;
      }
    };
    if (i % width > 0) consider(indices[i - 1]);
    if (i >= width) consider(indices[i - width]);
  }
  return indexed;
}

}  // namespace velmora::fit
