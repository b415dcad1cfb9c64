// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/face_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>

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

// For each source row, the target rows it adds to and with what weight: the
// row taps turned round, so that the rows can be scaled one source row at a
// time.
struct Share {
  std::size_t target;
  float weight;
};
using TargetsPerSource = std::vector<std::vector<Share>>;

TargetsPerSource TargetsOf(const TapsPerTarget& rows, std::size_t sourceLength) {
  TargetsPerSource targets(sourceLength);
  for (std::size_t target = 0; target < rows.size(); ++target) {
    for (const Tap& tap : rows[target]) targets[tap.source].push_back({target, tap.weight});
  }
  return targets;
}

// Narrows each source row that the row taps reach by the column taps and
// adds it into the target rows at once, so that only one narrowed row is
// held; the result is premultiplied linear RGBA, one pixel for each column
// tap list across and each row tap list down.
LinearRow ScaleLinear(const Picture& source, const TapsPerTarget& columns, const TapsPerTarget& rows) {
  static const LinearTable table = MakeLinearTable();
  const auto sourceWidth = static_cast<std::size_t>(source.width);
  const std::size_t targetWidth = columns.size();
  const TargetsPerSource targets = TargetsOf(rows, static_cast<std::size_t>(source.height));

  LinearRow sourceRow(sourceWidth * kChannels);
  LinearRow narrowed(targetWidth * kChannels);
  LinearRow scaled(rows.size() * targetWidth * kChannels, 0.0f);
  for (std::size_t y = 0; y < targets.size(); ++y) {
    if (targets[y].empty()) continue;
    ToPremultipliedLinear(source.rgba.data() + y * sourceWidth * kChannels, sourceWidth, table, sourceRow);
    std::fill(narrowed.begin(), narrowed.end(), 0.0f);
    for (std::size_t x = 0; x < targetWidth; ++x) {
      for (const Tap& tap : columns[x]) {
        AddWeighted(sourceRow.data() + tap.source * kChannels, tap.weight, narrowed.data() + x * kChannels);
      }
    }
    for (const Share& share : targets[y]) {
      float* scaledRow = scaled.data() + share.target * targetWidth * kChannels;
      for (std::size_t i = 0; i < narrowed.size(); i += kChannels) {
        AddWeighted(narrowed.data() + i, share.weight, scaledRow + i);
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
