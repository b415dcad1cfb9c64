// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture reader on Qt's image reader and its format plugins (Debian's
// qt6-image-formats-plugins brings WebP).

#include "platform/picture_reader.h"

namespace velmora {

class QtPictureReader final : public PictureReader {
 public:
  // Raises Qt's limit on a picture's memory, for the whole program, to what
  // the largest picture takes.
  QtPictureReader();
  [[nodiscard]] std::variant<UprightSize, PictureReadError> SizeOf(std::string_view file) override;
  [[nodiscard]] std::variant<UprightPicture, PictureReadError> Read(std::string_view file, int longestSide) override;
};

}  // namespace velmora
