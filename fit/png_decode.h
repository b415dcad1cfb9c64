// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decodes a PNG file of any kind (every colour type, bit depth and interlace)
// into 8-bit RGBA with libpng. 16-bit samples are rounded to 8 bits. The
// samples count as sRGB whatever gAMA, cHRM or iCCP say: Velmora's preview
// and most mail programs show them that way, so the Face looks like the
// original did there.
//
// Guards against files that declare more than they hold: a picture of more
// than kMaxPicturePixels is refused right after its header is read, before
// any picture memory is touched, and libpng's own limits cap each side at the
// same number and ancillary chunks at kMaxAncillaryChunkBytes each.

#include <cstdint>
#include <span>
#include <variant>

#include "fit/fit_error.h"
#include "fit/picture.h"

namespace velmora::fit {

inline constexpr std::uint64_t kMaxPicturePixels = 50u << 20;  // 50 MP, a phone's largest photo; 200 MiB as RGBA

// The decoded file, or kUnreadable (not a PNG, damaged, truncated) or
// kTooManyPixels. Nothing is written to stderr.
[[nodiscard]] std::variant<Picture, FitError> DecodePng(std::span<const std::uint8_t> file);

}  // namespace velmora::fit
