// SPDX-License-Identifier: GPL-3.0-or-later
#include "framing/frame.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace velmora::framing {
namespace {

std::u16string Decimal(int number) {
  const std::string digits = std::to_string(number);
  return {digits.begin(), digits.end()};
}

// The nearest whole number, halves toward zero. Applied to how far an edge
// moves, a resize by an odd number of pixels around the centre leaves the
// edge where it was instead of a pixel further right or down, so that + and
// then − give back the frame they started from.
int Nearest(double value) {
  return static_cast<int>(value >= 0 ? std::ceil(value - 0.5) : std::floor(value + 0.5));
}

// How far an edge `fromEdge` pixels left of or above the anchor moves when
// the side changes from `oldSide` to `side` and the anchor keeps its share of
// the way across. Multiplying before dividing keeps a half pixel exact, for
// Nearest to treat as one.
int EdgeShift(double fromEdge, int side, int oldSide) { return Nearest(fromEdge - fromEdge * side / oldSide); }

// A tenth of the side, to the nearest pixel, at least one.
int Tenth(int size) { return std::max(1, (size + 5) / 10); }

int SideWithin(int size, Frame bounds) { return std::clamp(size, kSmallestFrame, bounds.size); }

Point Centre(Frame frame) {
  const double half = frame.size / 2.0;
  return {frame.left + half, frame.top + half};
}

// `direction` +1 makes the frame a tenth larger, -1 a tenth smaller.
Frame ResizedByTenth(Frame frame, int direction, Point anchor, PictureSize picture) {
  return ResizedAround(frame, frame.size + direction * Tenth(frame.size), anchor, picture);
}

// One axis of a corner drag; `forward` when the dragged corner lies right of
// or below the one that stays.
struct DragAxis {
  bool forward;
  int fixed;  // the edge that stays
  int room;   // from it to the bounding square's edge the drag goes toward

  [[nodiscard]] double Reach(double pointer) const { return forward ? pointer - fixed : fixed - pointer; }
  [[nodiscard]] int Start(int side) const { return forward ? fixed : fixed - side; }
};

DragAxis AxisOfDrag(bool forward, int start, int size, int boundsStart, int boundsSize) {
  const int fixed = forward ? start : start + size;
  return {forward, fixed, forward ? boundsStart + boundsSize - fixed : fixed - boundsStart};
}

// Where picture coordinate 0 lies on one axis of the view when the bounding
// square's span is centred on it.
double CentredOrigin(double viewLength, int boundsStart, int boundsSize, double scale) {
  return (viewLength - boundsSize * scale) / 2 - boundsStart * scale;
}

}  // namespace

// When width and height differ by an odd number, the division's rounding
// toward zero leaves the spare pixel of the square right of or below the
// picture.
Frame BoundingSquare(PictureSize picture) {
  const int side = std::max(picture.width, picture.height);
  return {(picture.width - side) / 2, (picture.height - side) / 2, side};
}

Frame FirstFrame(PictureSize picture) {
  const int side = std::min(picture.width, picture.height);
  return {(picture.width - side) / 2, 0, side};
}

Frame Clamped(Frame frame, PictureSize picture) {
  const Frame bounds = BoundingSquare(picture);
  const int side = SideWithin(frame.size, bounds);
  const int slack = bounds.size - side;
  return {std::clamp(frame.left, bounds.left, bounds.left + slack),
          std::clamp(frame.top, bounds.top, bounds.top + slack), side};
}

Frame Moved(Frame frame, int dx, int dy, PictureSize picture) {
  return Clamped({frame.left + dx, frame.top + dy, frame.size}, picture);
}

Frame ResizedAround(Frame frame, int size, Point anchor, PictureSize picture) {
  const int side = SideWithin(size, BoundingSquare(picture));
  return Clamped({frame.left + EdgeShift(anchor.x - frame.left, side, frame.size),
                  frame.top + EdgeShift(anchor.y - frame.top, side, frame.size), side},
                 picture);
}

Frame DraggedCorner(Frame frame, Corner corner, Point pointer, PictureSize picture) {
  const Frame bounds = BoundingSquare(picture);
  const bool right = corner == Corner::kTopRight || corner == Corner::kBottomRight;
  const bool bottom = corner == Corner::kBottomLeft || corner == Corner::kBottomRight;
  const DragAxis x = AxisOfDrag(right, frame.left, frame.size, bounds.left, bounds.size);
  const DragAxis y = AxisOfDrag(bottom, frame.top, frame.size, bounds.top, bounds.size);
  const double room = std::min(x.room, y.room);
  const double reach = std::max(x.Reach(pointer.x), y.Reach(pointer.y));
  const int side = Nearest(std::max(std::min(reach, room), static_cast<double>(kSmallestFrame)));
  return Clamped({x.Start(side), y.Start(side), side}, picture);
}

Frame Wheeled(Frame frame, int notches, Point pointer, PictureSize picture) {
  const int direction = notches > 0 ? -1 : 1;
  Frame result = Clamped(frame, picture);
  for (int remaining = notches; remaining != 0; remaining += direction) {
    result = ResizedByTenth(result, direction, pointer, picture);
  }
  return result;
}

Frame AfterKey(Frame frame, Key key, bool shift, PictureSize picture) {
  const int step = shift ? Tenth(frame.size) : 1;
  switch (key) {
    case Key::kLeft: return Moved(frame, -step, 0, picture);
    case Key::kRight: return Moved(frame, step, 0, picture);
    case Key::kUp: return Moved(frame, 0, -step, picture);
    case Key::kDown: return Moved(frame, 0, step, picture);
    // Shift changes nothing here: many keyboards need it to type + at all.
    case Key::kPlus: return ResizedByTenth(frame, 1, Centre(frame), picture);
    case Key::kMinus: return ResizedByTenth(frame, -1, Centre(frame), picture);
  }
  return Clamped(frame, picture);
}

std::u16string FrameDescription(Frame frame) {
  const std::u16string side = Decimal(frame.size);
  return u"Ausschnitt " + side + u" × " + side + u" Pixel, links " + Decimal(frame.left) + u", oben " +
         Decimal(frame.top);
}

ViewMapping::ViewMapping(PictureSize picture, double viewWidth, double viewHeight) {
  const Frame bounds = BoundingSquare(picture);
  scale_ = std::min(viewWidth, viewHeight) / bounds.size;
  originX_ = CentredOrigin(viewWidth, bounds.left, bounds.size, scale_);
  originY_ = CentredOrigin(viewHeight, bounds.top, bounds.size, scale_);
}

Point ViewMapping::ToView(Point picture) const {
  return {originX_ + picture.x * scale_, originY_ + picture.y * scale_};
}

Point ViewMapping::ToPicture(Point view) const {
  return {(view.x - originX_) / scale_, (view.y - originY_) / scale_};
}

// A grip is the square of half-width `grip` around its corner; where a small
// frame's grips overlap, the nearest corner takes the press.
Grip GripAt(Frame frame, Point pointer, double grip) {
  const double left = frame.left;
  const double top = frame.top;
  const double right = left + frame.size;
  const double bottom = top + frame.size;
  struct CornerGrip {
    Grip grip;
    double x;
    double y;
  };
  const CornerGrip corners[] = {{Grip::kTopLeft, left, top},
                                {Grip::kTopRight, right, top},
                                {Grip::kBottomLeft, left, bottom},
                                {Grip::kBottomRight, right, bottom}};
  const auto distance = [pointer](const CornerGrip& corner) {
    return std::max(std::abs(pointer.x - corner.x), std::abs(pointer.y - corner.y));
  };
  const CornerGrip& nearest = *std::ranges::min_element(corners, {}, distance);
  if (distance(nearest) <= grip) return nearest.grip;
  const bool inside = pointer.x >= left && pointer.x <= right && pointer.y >= top && pointer.y <= bottom;
  return inside ? Grip::kMove : Grip::kNone;
}

}  // namespace velmora::framing
