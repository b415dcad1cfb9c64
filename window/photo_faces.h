// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Faces of frames on one photo: quick previews from a reduced copy while
// the frame moves, and the exact Face that accepting the frame gives. The
// reduced copy is also what the dialog shows.

#include <variant>

#include "fit/fit_picture.h"
#include "fit/picture.h"
#include "platform/framing_dialog.h"

namespace velmora {

class PhotoFaces final : public FaceOfFrame {
 public:
  // Makes the reduced copy: some 100 ms for a 24-megapixel photo.
  explicit PhotoFaces(fit::Picture photo);

  [[nodiscard]] FramedFace Quick(const framing::Frame& frame) const override;
  [[nodiscard]] FramedFace Exact(const framing::Frame& frame) const override;

  // The Face file of the frame, or why there is none.
  [[nodiscard]] std::variant<fit::FitResult, fit::FitError> Face(const framing::Frame& frame) const;
  // The photo for the dialog: its size and the reduced copy to show.
  [[nodiscard]] PhotoView View() const {
    return {{photo_.width, photo_.height}, quickCopy_.width, quickCopy_.height, quickCopy_.rgba};
  }

 private:
  fit::Picture photo_;
  fit::Picture quickCopy_;
  double quickScale_;
};

}  // namespace velmora
