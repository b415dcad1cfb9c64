// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes an indexed picture as the smallest PNG file this encoder finds.
//
// The file holds only IHDR, PLTE, tRNS (when a used colour is not opaque),
// IDAT and IEND. Palette entries no pixel uses are dropped and the
// translucent ones come first, so that tRNS stops at the last of them, and
// the rest run from dark to light. The
// bit depth is the smallest of 1, 2, 4 and 8 that holds the palette. The rows
// are filtered each way PNG offers (none, sub, up, average, Paeth, and
// per-row the one with the smallest sum of magnitudes); zlib at its best
// level deflates each, and the smallest stream is kept. With
// Deflater::kZopfli, zopfli then deflates the winning rows once more, and the
// smaller of the two streams is kept: a few per cent smaller, at some 100
// times the cost.

#include <string>

#include "fit/indexed_picture.h"

namespace velmora::fit {

enum class Deflater { kZlib, kZopfli };

// The file's bytes. The picture needs at least one pixel and one palette
// entry. Throws std::bad_alloc when memory runs out.
[[nodiscard]] std::string EncodeIndexedPng(const IndexedPicture& indexed, Deflater deflater);

}  // namespace velmora::fit
