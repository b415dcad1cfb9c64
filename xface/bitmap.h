// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture an X-Face carries: kXFaceSide x kXFaceSide pixels, each black
// or white.

#include <bitset>
#include <cstddef>

#include "face/face_limits.h"

namespace velmora::xface {

inline constexpr int kXFaceSide = face::kFaceSide;
inline constexpr std::size_t kXFacePixels = static_cast<std::size_t>(kXFaceSide) * kXFaceSide;

// All white until pixels are set; x runs left to right, y top to bottom.
class Bitmap {
 public:
  [[nodiscard]] bool IsBlack(int x, int y) const { return black_[Index(x, y)]; }
  void SetBlack(int x, int y, bool black) { black_[Index(x, y)] = black; }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  static std::size_t Index(int x, int y) {
    return static_cast<std::size_t>(y) * kXFaceSide + static_cast<std::size_t>(x);
  }

  std::bitset<kXFacePixels> black_;
};

}  // namespace velmora::xface
