// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture a Face should show: an sRGB picture scaled to fit a
// kFaceSide x kFaceSide canvas with its proportions kept, centred on
// transparent.
//
// The longer side becomes kFaceSide. Each new pixel is the area-weighted
// average of the old pixels it covers, taken in linear light with
// premultiplied alpha. Shrinking, that is a box filter that keeps every
// detail's share of light; enlarging, each old pixel becomes a sharp block and
// only the pixels on a block's edge mix two neighbours, which keeps small
// icons crisp and cheap to deflate. A picture of kFaceSide x kFaceSide keeps
// its pixels exactly, except that a fully transparent pixel becomes
// transparent black.

#include "face/face_limits.h"
#include "fit/picture.h"

namespace velmora::fit {

using face::kFaceSide;

[[nodiscard]] Picture FaceCanvas(const Picture& picture);

// A square of the picture, in its pixels; it may reach past the picture's
// edges.
struct Square {
  double left;
  double top;
  double size;  // more than 0
};

// The picture made smaller the same way, its longer side `longestSide`;
// unchanged when it is no larger.
[[nodiscard]] Picture ReducedPicture(const Picture& picture, int longestSide);

// The square scaled to kFaceSide x kFaceSide the same way, larger or
// smaller; what lies outside the picture comes out transparent.
[[nodiscard]] Picture CroppedCanvas(const Picture& picture, const Square& square);

}  // namespace velmora::fit
