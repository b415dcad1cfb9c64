#pragma once
// The picture a Face should show: an sRGB picture scaled to fit a
// kFaceSide x kFaceSide canvas with its proportions kept, centred on
// transparent.
//
// A picture with a side longer than kFaceSide is scaled down so that its
// longer side is kFaceSide, each new pixel the area-weighted average of the
// old pixels it covers, taken in linear light with premultiplied alpha. A
// picture that already fits is not scaled (enlarging would only blur it): its
// pixels stay exactly as they were, except that a fully transparent pixel
// becomes transparent black.

#include "fit/picture.h"

namespace velmora::fit {

inline constexpr int kFaceSide = 48;

[[nodiscard]] Picture FaceCanvas(const Picture& picture);

}  // namespace velmora::fit
