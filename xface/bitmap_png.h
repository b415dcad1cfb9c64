// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bitmap as a Face: a PNG file of two opaque colours, black and white,
// written the way the fit writes its Faces (fit/png_encode.h, zopfli), so
// that it stays far below the Face limit: 1 bit per pixel takes 288 bytes
// before deflating.

#include <string>

#include "xface/bitmap.h"

namespace velmora::xface {

// The file's bytes. Throws std::bad_alloc when memory runs out.
[[nodiscard]] std::string BitmapPng(const Bitmap& bitmap);

}  // namespace velmora::xface
