// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/headless_picture_reader.h"

#include <optional>
#include <span>
#include <utility>

#include "face/png_header.h"
#include "fit/png_decode.h"

namespace velmora::headless {
namespace {

PictureReadError ReadErrorOf(fit::FitError error) {
  return error == fit::FitError::kTooManyPixels ? PictureReadError::kTooManyPixels : PictureReadError::kUnreadable;
}

}  // namespace

std::variant<UprightSize, PictureReadError> HeadlessPictureReader::SizeOf(std::string_view file) {
  const std::optional<face::PixelSize> size = face::PngPixelSize(file);
  if (!size || size->width == 0 || size->height == 0) return PictureReadError::kUnreadable;
  if (std::uint64_t{size->width} * size->height > kMostPicturePixels) return PictureReadError::kTooManyPixels;
  return UprightSize{static_cast<int>(size->width), static_cast<int>(size->height)};
}

std::variant<UprightPicture, PictureReadError> HeadlessPictureReader::Read(std::string_view file, int /*longestSide*/) {
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  auto decoded = fit::DecodePng(bytes);
  if (const auto* error = std::get_if<fit::FitError>(&decoded)) return ReadErrorOf(*error);
  fit::Picture& picture = std::get<fit::Picture>(decoded);
  return UprightPicture{picture.width, picture.height, std::move(picture.rgba), 1.0};
}

}  // namespace velmora::headless
