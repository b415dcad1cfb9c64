// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a picture's exact pixels as the smallest PNG file this encoder finds.
//
// The file holds only IHDR, PLTE (indexed files only), tRNS (when a pixel is
// not opaque and the colour type has no alpha channel), IDAT and IEND. The
// pixels are laid out every way PNG can hold them exactly:
// - indexed, at each bit depth from the smallest that holds the palette up
//   to 8: more bits per index often deflate smaller, as each pixel then
//   starts a byte of its own;
// - grey when every colour is grey, at the smallest depth that holds its
//   levels, or truecolour otherwise; an alpha channel only when a pixel is
//   translucent or transparent black can't serve as tRNS's key.
// In an indexed file unused entries are dropped and the translucent ones come
// first, so that tRNS stops at the last of them, and the rest run from dark to
// light. Each layout's rows are filtered with none, sub and Paeth, and per
// row with the type that gives the smallest sum of magnitudes; zlib at its
// default level ranks all these, and deflates the smallest at its best. With
// Deflater::kZopfli, zopfli then deflates the winning rows once more, and the
// smaller of the two streams is kept: a few per cent smaller, at some 100
// times the cost.

#include <cstddef>
#include <string>
#include <string_view>

#include "fit/indexed_picture.h"
#include "fit/picture.h"

namespace velmora::fit {

enum class Deflater { kZlib, kZopfli };
// Whether an indexed picture whose colours are not all grey is also tried
// as truecolour: that takes three times the bytes to deflate and only pays
// for smooth pictures.
enum class Truecolour { kTry, kSkip };

// The file's bytes. The picture needs at least one pixel and one palette
// entry. Throws std::bad_alloc when memory runs out.
[[nodiscard]] std::string EncodePng(const IndexedPicture& indexed, Deflater deflater,
                                    Truecolour truecolour = Truecolour::kTry);

// The same for a picture of any number of colours. Throws std::bad_alloc
// when memory runs out.
[[nodiscard]] std::string EncodePng(const Picture& picture, Deflater deflater);

// The bytes of image data (IDAT chunk contents) in a file EncodePng wrote:
// the part of the file a better deflater can shrink.
[[nodiscard]] std::size_t ImageDataBytes(std::string_view png);

}  // namespace velmora::fit
