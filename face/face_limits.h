// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sizes a Face keeps to.

#include <cstddef>

namespace velmora::face {

// A file this long or longer is refused as a Face.
inline constexpr std::size_t kRefusedFileBytes = 726;
// The largest Face file.
inline constexpr std::size_t kLargestFaceBytes = kRefusedFileBytes - 1;
// Above this many bytes one reader warns.
inline constexpr std::size_t kLargestUnwarnedBytes = 723;
// The width and height, in pixels, of the picture every reader shows.
inline constexpr int kFaceSide = 48;

}  // namespace velmora::face
