// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/headless_picture_reader.h"

#include <png.h>

#include <memory>

namespace velmora::headless {
namespace {

struct ImageDeleter {
  void operator()(png_image* image) const { png_image_free(image); }
};

// The header read, or why not; `image` keeps libpng's state for the rest.
std::variant<UprightSize, PictureReadError> BeginReading(std::string_view file, png_image& image) {
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, file.data(), file.size()) == 0) return PictureReadError::kUnreadable;
  if (std::uint64_t{image.width} * image.height > kMostPicturePixels) return PictureReadError::kTooManyPixels;
  return UprightSize{static_cast<int>(image.width), static_cast<int>(image.height)};
}

}  // namespace

std::variant<UprightSize, PictureReadError> HeadlessPictureReader::SizeOf(std::string_view file) {
  png_image image{};
  const std::unique_ptr<png_image, ImageDeleter> reading(&image);
  return BeginReading(file, image);
}

std::variant<UprightPicture, PictureReadError> HeadlessPictureReader::Read(std::string_view file, int /*longestSide*/) {
  png_image image{};
  const std::unique_ptr<png_image, ImageDeleter> reading(&image);
  const auto size = BeginReading(file, image);
  if (const auto* error = std::get_if<PictureReadError>(&size)) return *error;
  image.format = PNG_FORMAT_RGBA;
  UprightPicture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}, 1.0};
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr) == 0) return PictureReadError::kUnreadable;
  return picture;
}

}  // namespace velmora::headless
