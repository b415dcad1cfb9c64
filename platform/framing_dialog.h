// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Ausschnitt wählen": a photo, a square frame over it that the
// user moves and resizes, and beside it the Face that frame gives, live.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "framing/frame.h"

namespace velmora {

// The Face of a frame as the dialog shows it.
struct FramedFace {
  std::vector<std::uint8_t> rgba;  // kFaceSide x kFaceSide pixels, RGBA
  std::size_t bytes = 0;           // the Face file's; 0 for a quick preview
  std::vector<std::uint8_t> xFace;  // the X-Face's kFaceSide x kFaceSide pixels, 0 black, 1 white; empty for none
};

// What a frame gives, worked out by the window logic. The dialog calls it
// away from the user-interface thread, one call at a time.
class FaceOfFrame {
 public:
  virtual ~FaceOfFrame() = default;
  // The picture the frame takes, scaled to the Face's size, from a copy of
  // the photo at a reduced size: at once, while the frame moves.
  [[nodiscard]] virtual FramedFace Quick(const framing::Frame& frame) const = 0;
  // The Face the frame gives, exactly as accepting it gives it, with its
  // byte count and its X-Face.
  [[nodiscard]] virtual FramedFace Exact(const framing::Frame& frame) const = 0;
};

// The photo to frame: its upright size, which frames are measured in, and
// a copy to show, smaller where the photo is large, RGBA; the copy outlives
// the dialog.
struct PhotoView {
  framing::PictureSize size;
  int shownWidth;
  int shownHeight;
  std::span<const std::uint8_t> shownRgba;
};

class FramingDialog {
 public:
  virtual ~FramingDialog() = default;
  // Shows the photo modally with the frame `first`; returns the frame
  // accepted with "Übernehmen", or none for "Abbrechen".
  [[nodiscard]] virtual std::optional<framing::Frame> ChooseFrame(const PhotoView& photo, framing::Frame first,
                                                                 const FaceOfFrame& faces) = 0;
};

}  // namespace velmora
