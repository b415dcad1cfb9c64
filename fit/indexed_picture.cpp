// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/indexed_picture.h"

namespace velmora::fit {

Picture Expand(const IndexedPicture& indexed) {
  Picture picture{indexed.width, indexed.height, {}};
  picture.rgba.reserve(indexed.indices.size() * kChannels);
  for (const std::uint8_t index : indexed.indices) {
    const Colour& colour = indexed.palette[index];
    picture.rgba.insert(picture.rgba.end(), {colour.red, colour.green, colour.blue, colour.alpha});
  }
  return picture;
}

}  // namespace velmora::fit
