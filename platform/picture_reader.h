// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads pictures of every common format (PNG, JPEG, WebP, BMP and the first
// frame of a GIF), turned upright by their EXIF orientation, for making a
// Face of a photo.

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

namespace velmora {

// The most pixels a picture may declare: a phone's largest photo, 200 MiB as
// RGBA.
inline constexpr std::uint64_t kMostPicturePixels = 50u << 20;

enum class PictureReadError {
  kUnreadable,     // not a picture of a known format, or damaged
  kTooManyPixels,  // declares more than kMostPicturePixels, refused from its header
};

struct UprightSize {
  int width;
  int height;
};

// 8-bit RGBA, rows top to bottom, straight alpha, sRGB.
struct UprightPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
  // Its pixels per pixel of the picture at full size: below 1 when it was
  // read at a reduced size.
  double scale = 1.0;
};

class PictureReader {
 public:
  virtual ~PictureReader() = default;
  // The picture's size after its EXIF turn, from its header alone.
  [[nodiscard]] virtual std::variant<UprightSize, PictureReadError> SizeOf(std::string_view file) = 0;
  // The picture, at a reduced size when its longer side exceeds
  // `longestSide` and the format can be read smaller cheaply (JPEG); never
  // smaller than that.
  [[nodiscard]] virtual std::variant<UprightPicture, PictureReadError> Read(std::string_view file,
                                                                          int longestSide) = 0;
};

}  // namespace velmora
