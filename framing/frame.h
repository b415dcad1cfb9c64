// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The square a user frames on a photo to make a Face of: its geometry, the
// first frame offered, and how the mouse, the wheel and the keys move and
// resize it. Plain C++: the dialog that shows it only draws and forwards.
//
// All coordinates are picture pixels of the picture as shown, that is after
// its EXIF turn, with (0, 0) its top-left corner. A frame may reach past the
// picture's edges, where the Face comes out transparent, but never past the
// bounding square: the square of side max(width, height) centred on the
// picture, which holds the whole picture.

#include <string>

namespace velmora::framing {

struct PictureSize {
  int width;   // at least 1
  int height;  // at least 1
};

// A square: its top-left corner and its side, in picture pixels.
struct Frame {
  int left;
  int top;
  int size;

  friend bool operator==(const Frame&, const Frame&) = default;
};

// A point in picture pixels; fractions matter for the pointer.
struct Point {
  double x;
  double y;
};

inline constexpr int kSmallestFrame = 1;

// The square that holds the whole picture, centred on it; the farthest a
// frame may reach.
[[nodiscard]] Frame BoundingSquare(PictureSize picture);

// The first frame offered: the largest square inside the picture, centred
// across; for a picture taller than wide at the top, where heads are, and
// centred down for one wider than tall.
[[nodiscard]] Frame FirstFrame(PictureSize picture);

// The frame made to fit: its side between kSmallestFrame and the bounding
// square's, then moved the least distance that puts it inside the bounding
// square.
[[nodiscard]] Frame Clamped(Frame frame, PictureSize picture);

// Moved by whole picture pixels, then clamped.
[[nodiscard]] Frame Moved(Frame frame, int dx, int dy, PictureSize picture);

// Resized to `size` so that `anchor` stays at the same place relative to
// the frame (the pointer for the wheel, the centre for the keys), rounded to
// whole pixels, then clamped.
[[nodiscard]] Frame ResizedAround(Frame frame, int size, Point anchor, PictureSize picture);

enum class Corner { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// The frame while a corner is dragged to `pointer`: the opposite corner
// stays where it is, and the side follows the pointer's larger distance from
// it, as far as the bounding square allows.
[[nodiscard]] Frame DraggedCorner(Frame frame, Corner corner, Point pointer, PictureSize picture);

// The wheel: each notch (positive away from the user) makes the frame a
// tenth smaller, each notch back a tenth larger, at least one pixel either
// way, around the pointer.
[[nodiscard]] Frame Wheeled(Frame frame, int notches, Point pointer, PictureSize picture);

enum class Key { kLeft, kRight, kUp, kDown, kPlus, kMinus };

// A key: an arrow moves the frame by one picture pixel, with Shift by a tenth
// of its side (at least one pixel); + and − resize it by a tenth around its
// centre, at least one pixel.
[[nodiscard]] Frame AfterKey(Frame frame, Key key, bool shift, PictureSize picture);

// What a screen reader says of the frame, in German: "Ausschnitt 600 × 600
// Pixel, links 100, oben 0".
[[nodiscard]] std::u16string FrameDescription(Frame frame);

// Where the picture appears in a view of the given size: the bounding square
// as large as fits, centred. Converts between view coordinates (device
// independent pixels) and picture pixels.
class ViewMapping {
 public:
  ViewMapping(PictureSize picture, double viewWidth, double viewHeight);

  // View pixels per picture pixel.
  [[nodiscard]] double Scale() const { return scale_; }
  [[nodiscard]] Point ToView(Point picture) const;
  [[nodiscard]] Point ToPicture(Point view) const;

 private:
  double scale_;
  double originX_;  // where picture (0, 0) lies in the view
  double originY_;
};

// What a press at `pointer` (picture pixels) on the frame starts: dragging a
// corner when the pointer lies within `grip` picture pixels of it, moving the
// frame when inside it, nothing outside.
enum class Grip { kNone, kMove, kTopLeft, kTopRight, kBottomLeft, kBottomRight };
[[nodiscard]] Grip GripAt(Frame frame, Point pointer, double grip);

}  // namespace velmora::framing
