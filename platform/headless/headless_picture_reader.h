// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture reader without Qt: PNG files only, read whole by the fit's
// decoder, which like Qt's reader takes the samples as sRGB whatever gAMA
// says. The model of the real reader for the window's tests; the other
// formats and the EXIF turn are Qt's and tested on the real one.

#include "platform/picture_reader.h"

namespace velmora::headless {

class HeadlessPictureReader final : public PictureReader {
 public:
  [[nodiscard]] std::variant<UprightSize, PictureReadError> SizeOf(std::string_view file) override;
  [[nodiscard]] std::variant<UprightPicture, PictureReadError> Read(std::string_view file, int longestSide) override;
};

}  // namespace velmora::headless
