// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/picture.h"

namespace velmora::fit {

Picture TransparentPicture(int width, int height) {
  Picture picture{width, height, {}};
  picture.rgba.assign(picture.PixelCount() * kChannels, 0);
  return picture;
}

}  // namespace velmora::fit
