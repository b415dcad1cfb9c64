// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which mail readers will not show a Face as it is, told in German.

#include <string>
#include <string_view>

#include "face/png_header.h"

namespace velmora::face {

// Whether every reader shows a picture of that size: exactly kFaceSide x
// kFaceSide pixels.
[[nodiscard]] bool IsShownEverywhere(const PixelSize& size);

// The hint for a picture of any other size.
[[nodiscard]] std::u16string OnlyExactFaceSizeHint();

// The hints for a Face file, one per line with `lineBreak` between them: that
// some readers show only pictures of exactly kFaceSide x kFaceSide pixels,
// and that one warns above kLargestUnwarnedBytes bytes (face/face_limits.h).
// "" when the file breaks neither, or is no PNG file.
[[nodiscard]] std::u16string ReaderHints(std::string_view file, std::u16string_view lineBreak);

}  // namespace velmora::face
