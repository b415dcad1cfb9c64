// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/png_decode.h"

#include <vector>

#include "png/memory_png_reader.h"

namespace velmora::fit {
namespace {

constexpr png_alloc_size_t kMaxAncillaryChunkBytes = 1u << 20;
constexpr png_uint_32 kMaxCachedChunks = 128;
constexpr png_byte kOpaque = 0xFF;

enum class HeaderState { kReady, kUnreadable, kTooManyPixels };

void LimitResources(png_structp png) {
  png_set_user_limits(png, kMaxPicturePixels, kMaxPicturePixels);
  png_set_chunk_malloc_max(png, kMaxAncillaryChunkBytes);
  png_set_chunk_cache_max(png, kMaxCachedChunks);
}

// Asks libpng for 8-bit RGBA rows, whatever the file holds.
void RequestRgba8(png_structp png) {
  png_set_expand(png);  // palette and low bit depths to 8 bits, tRNS to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, kOpaque, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
}

// The two phases below run under libpng's setjmp, so they hold only plain
// values; the caller owns everything that must be freed.
HeaderState ReadHeader(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return HeaderState::kUnreadable;
  LimitResources(png);
  png_read_info(png, info);
  const std::uint64_t pixels =
      std::uint64_t{png_get_image_width(png, info)} * std::uint64_t{png_get_image_height(png, info)};
  if (pixels > kMaxPicturePixels) return HeaderState::kTooManyPixels;
  RequestRgba8(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == std::size_t{png_get_image_width(png, info)} * kChannels
             ? HeaderState::kReady
             : HeaderState::kUnreadable;
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

}  // namespace

std::variant<Picture, FitError> DecodePng(std::span<const std::uint8_t> file) {
  const MemoryPngReader reader(file);
  switch (ReadHeader(reader.png(), reader.info())) {
    case HeaderState::kUnreadable: return FitError::kUnreadable;
    case HeaderState::kTooManyPixels: return FitError::kTooManyPixels;
    case HeaderState::kReady: break;
  }
  Picture picture;
  picture.width = static_cast<int>(png_get_image_width(reader.png(), reader.info()));
  picture.height = static_cast<int>(png_get_image_height(reader.png(), reader.info()));
  picture.rgba.resize(picture.PixelCount() * kChannels);
  std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * kChannels;
  for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = picture.rgba.data() + y * rowBytes;
  if (!ReadRows(reader.png(), rows.data())) return FitError::kUnreadable;
  return picture;
}

}  // namespace velmora::fit
