// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/bitmap_png.h"

#include "fit/png_encode.h"
#include "fit/quality.h"

namespace velmora::xface {
namespace {

enum PaletteIndex : std::uint8_t { kWhiteIndex = 0, kBlackIndex = 1 };

fit::IndexedPicture Indexed(const Bitmap& bitmap) {
  fit::IndexedPicture indexed{kXFaceSide, kXFaceSide, {}, {fit::kWhite, fit::kBlack}};
  indexed.indices.reserve(kXFacePixels);
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) indexed.indices.push_back(bitmap.IsBlack(x, y) ? kBlackIndex : kWhiteIndex);
  }
  return indexed;
}

}  // namespace

std::string BitmapPng(const Bitmap& bitmap) { return fit::EncodePng(Indexed(bitmap), fit::Deflater::kZopfli); }

}  // namespace velmora::xface
