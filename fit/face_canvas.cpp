// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/face_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "fit/srgb.h"

namespace velmora::fit {
namespace {

constexpr int kSampleValues = 256;
constexpr float kMaxSample = 255.0f;
constexpr int kAlpha = 3;

using LinearTable = std::array<float, kSampleValues>;

LinearTable MakeLinearTable() {
  LinearTable table{};
  for (int sample = 0; sample < kSampleValues; ++sample) {
    table[static_cast<std::size_t>(sample)] = static_cast<float>(SrgbToLinear(sample / double{kMaxSample}));
  }
  return table;
}

std::uint8_t ToSample(double fraction) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(fraction, 0.0, 1.0) * kMaxSample));
}

// One source pixel's share in a target pixel.
struct Tap {
  std::size_t source;
  float weight;
};
using TapsPerTarget = std::vector<std::vector<Tap>>;

// Target pixel i covers the source interval [first + i * step, first +
// (i + 1) * step), where step = span / targetLength; each source pixel
// counts by the part of it inside, so the weights add up to 1 where the
// interval lies within the source, and what lies outside counts as
// transparent.
TapsPerTarget AreaTaps(double first, double span, int sourceLength, int targetLength) {
  const double step = span / targetLength;
  TapsPerTarget taps(static_cast<std::size_t>(targetLength));
  for (int target = 0; target < targetLength; ++target) {
    const double begin = first + target * step;
    const double end = begin + step;
    for (auto source = std::max(0, static_cast<int>(std::floor(begin))); source < sourceLength && source < end;
         ++source) {
      const double covered = std::min(end, source + 1.0) - std::max(begin, static_cast<double>(source));
      if (covered > 0) {
        taps[static_cast<std::size_t>(target)].push_back(
            {static_cast<std::size_t>(source), static_cast<float>(covered / step)});
      }
    }
  }
  return taps;
}

// Premultiplied linear RGBA, one float per channel.
using LinearRow = std::vector<float>;

void ToPremultipliedLinear(const std::uint8_t* rgba, std::size_t pixels, const LinearTable& table,
                           LinearRow& out) {
  for (std::size_t i = 0; i < pixels; ++i, rgba += kChannels) {
    const float alpha = rgba[kAlpha] / kMaxSample;
    for (std::size_t c = 0; c < kAlpha; ++c) out[i * kChannels + c] = table[rgba[c]] * alpha;
    out[i * kChannels + kAlpha] = alpha;
  }
}

void AddWeighted(const float* pixel, float weight, float* sum) {
  for (int c = 0; c < kChannels; ++c) sum[c] += pixel[c] * weight;
}

struct Size {
  int width;
  int height;
};

// The longer side becomes exactly `longestSide`, the shorter one keeps the
// proportion, rounded, and at least one pixel.
Size ScaledSize(int width, int height, int longestSide = kFaceSide) {
  const int longer = std::max(width, height);
  const auto scaled = [longer, longestSide](int side) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(side) * longestSide / longer)));
  };
  return width >= height ? Size{longestSide, scaled(height)} : Size{scaled(width), longestSide};
}

// The source rows the taps reach, first and one past the last.
std::pair<std::size_t, std::size_t> RowsReached(const TapsPerTarget& rows) {
  std::size_t first = std::numeric_limits<std::size_t>::max();
  std::size_t end = 0;
  for (const auto& taps : rows) {
    for (const Tap& tap : taps) {
      first = std::min(first, tap.source);
      end = std::max(end, tap.source + 1);
    }
  }
  return {std::min(first, end), end};
}

// Narrows each source row the row taps reach by the column taps, then
// combines the rows; the result is premultiplied linear RGBA, one pixel for
// each column tap list across and each row tap list down.
LinearRow ScaleLinear(const Picture& source, const TapsPerTarget& columns, const TapsPerTarget& rows) {
  static const LinearTable table = MakeLinearTable();
  const auto sourceWidth = static_cast<std::size_t>(source.width);
  const std::size_t targetWidth = columns.size();
  const auto [firstRow, endRow] = RowsReached(rows);

  LinearRow sourceRow(sourceWidth * kChannels);
  LinearRow narrowed((endRow - firstRow) * targetWidth * kChannels, 0.0f);
  for (std::size_t y = firstRow; y < endRow; ++y) {
    ToPremultipliedLinear(source.rgba.data() + y * sourceWidth * kChannels, sourceWidth, table, sourceRow);
    float* narrowedRow = narrowed.data() + (y - firstRow) * targetWidth * kChannels;
    for (std::size_t x = 0; x < targetWidth; ++x) {
      for (const Tap& tap : columns[x]) {
        AddWeighted(sourceRow.data() + tap.source * kChannels, tap.weight, narrowedRow + x * kChannels);
      }
    }
  }
  LinearRow scaled(rows.size() * targetWidth * kChannels, 0.0f);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (const Tap& tap : rows[y]) {
      for (std::size_t x = 0; x < targetWidth; ++x) {
        AddWeighted(narrowed.data() + ((tap.source - firstRow) * targetWidth + x) * kChannels, tap.weight,
                    scaled.data() + (y * targetWidth + x) * kChannels);
      }
    }
  }
  return scaled;
}

void StoreAsSrgb(const float* premultiplied, std::uint8_t* rgba) {
  const float alpha = premultiplied[kAlpha];
  if (alpha <= 0.0f) return;  // stays transparent black
  for (int c = 0; c < kAlpha; ++c) rgba[c] = ToSample(LinearToSrgb(premultiplied[c] / alpha));
  rgba[kAlpha] = ToSample(alpha);
}

Picture AsSrgbPicture(const LinearRow& premultiplied, Size size) {
  Picture picture = TransparentPicture(size.width, size.height);
  for (std::size_t i = 0; i < picture.PixelCount(); ++i) {
    StoreAsSrgb(premultiplied.data() + i * kChannels, picture.rgba.data() + i * kChannels);
  }
  return picture;
}

}  // namespace

Picture FaceCanvas(const Picture& picture) {
  const Size size = ScaledSize(picture.width, picture.height);
  const LinearRow scaled = ScaleLinear(picture, AreaTaps(0, picture.width, picture.width, size.width),
                                       AreaTaps(0, picture.height, picture.height, size.height));
  Picture canvas = TransparentPicture(kFaceSide, kFaceSide);
  const auto left = static_cast<std::size_t>((kFaceSide - size.width) / 2);
  const auto top = static_cast<std::size_t>((kFaceSide - size.height) / 2);
  const auto width = static_cast<std::size_t>(size.width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(size.height); ++y) {
    for (std::size_t x = 0; x < width; ++x) {
      StoreAsSrgb(scaled.data() + (y * width + x) * kChannels,
                  canvas.rgba.data() + ((top + y) * kFaceSide + left + x) * kChannels);
    }
  }
  return canvas;
}

Picture ReducedPicture(const Picture& picture, int longestSide) {
  if (std::max(picture.width, picture.height) <= longestSide) return picture;
  const Size size = ScaledSize(picture.width, picture.height, longestSide);
  const LinearRow scaled = ScaleLinear(picture, AreaTaps(0, picture.width, picture.width, size.width),
                                       AreaTaps(0, picture.height, picture.height, size.height));
  return AsSrgbPicture(scaled, size);
}

Picture CroppedCanvas(const Picture& picture, const Square& square) {
  const LinearRow scaled = ScaleLinear(picture, AreaTaps(square.left, square.size, picture.width, kFaceSide),
                                       AreaTaps(square.top, square.size, picture.height, kFaceSide));
  return AsSrgbPicture(scaled, {kFaceSide, kFaceSide});
}

}  // namespace velmora::fit
