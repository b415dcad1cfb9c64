// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's geometry: where it starts, its limits, and each way it moves.

#include <gtest/gtest.h>

#include <ostream>

#include "framing/frame.h"

namespace velmora::framing {

// Printed by GoogleTest when a comparison fails.
void PrintTo(const Frame& frame, std::ostream* out) {
  *out << "{" << frame.left << ", " << frame.top << ", " << frame.size << "}";
}

namespace {

constexpr PictureSize kWide{800, 600};    // bounding square {0, -100, 800}
constexpr PictureSize kSquare{1000, 1000};
constexpr Frame kMiddle{100, 100, 400};  // in kSquare, centre (300, 300)

TEST(FrameTest, BoundingSquareHoldsThePictureAndFirstFrameLiesInIt) {
  const struct {
    PictureSize picture;
    Frame bounds, first;
  } cases[] = {
      {kWide, {0, -100, 800}, {100, 0, 600}},
      {{600, 800}, {-100, 0, 800}, {0, 0, 600}},
      {{500, 500}, {0, 0, 500}, {0, 0, 500}},
      {{1, 1}, {0, 0, 1}, {0, 0, 1}},
      // An odd difference: the spare pixel lies right of or below the picture.
      {{3, 6}, {-1, 0, 6}, {0, 0, 3}},
      {{7, 4}, {0, -1, 7}, {1, 0, 4}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BoundingSquare(c.picture), c.bounds) << c.picture.width << " x " << c.picture.height;
    EXPECT_EQ(FirstFrame(c.picture), c.first) << c.picture.width << " x " << c.picture.height;
  }
}

TEST(FrameTest, ClampedAndMovedStayInsideTheBoundingSquare) {
  const struct {
    Frame frame;
    int dx, dy;
    Frame expected;
  } cases[] = {
      {{100, -50, 300}, 0, 0, {100, -50, 300}},   {{10, 10, 900}, 0, 0, {0, -100, 800}},
      {{50, 50, 0}, 0, 0, {50, 50, 1}},           {{50, 50, -5}, 0, 0, {50, 50, 1}},
      {{-30, 0, 100}, 0, 0, {0, 0, 100}},         {{750, 0, 100}, 0, 0, {700, 0, 100}},
      {{0, -150, 100}, 0, 0, {0, -100, 100}},     {{0, 650, 100}, 0, 0, {0, 600, 100}},
      {{100, 0, 600}, 50, -20, {150, -20, 600}},  {{100, 0, 600}, 500, 0, {200, 0, 600}},
      {{100, 0, 600}, -500, -500, {0, -100, 600}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Moved(c.frame, c.dx, c.dy, kWide), c.expected);
    if (c.dx == 0 && c.dy == 0) {
      EXPECT_EQ(Clamped(c.frame, kWide), c.expected);
    }
  }
}

TEST(FrameTest, ResizingKeepsTheAnchorsPlaceInTheFrame) {
  const struct {
    int size;
    Point anchor;
    Frame expected;
  } cases[] = {
      {200, {300, 300}, {200, 200, 200}},  {200, {100, 100}, {100, 100, 200}},
      {200, {500, 500}, {300, 300, 200}},  {600, {200, 400}, {50, 0, 600}},  // clamped at the top
      {2000, {300, 300}, {0, 0, 1000}},    {0, {300, 300}, {299, 299, 1}},   // 199.5 pixels rounds down
  };
  for (const auto& c : cases) EXPECT_EQ(ResizedAround(kMiddle, c.size, c.anchor, kSquare), c.expected) << c.size;
}

TEST(FrameTest, DraggedCornerKeepsTheOppositeOne) {
  const struct {
    PictureSize picture;
    Frame frame;
    Corner corner;
    Point pointer;
    Frame expected;
  } cases[] = {
      {kSquare, kMiddle, Corner::kBottomRight, {700, 650}, {100, 100, 600}},
      {kSquare, kMiddle, Corner::kTopLeft, {300, 250}, {250, 250, 250}},
      {kSquare, kMiddle, Corner::kTopRight, {1200, -300}, {100, 0, 500}},
      {kSquare, kMiddle, Corner::kBottomLeft, {-50, 520}, {0, 100, 500}},
      {kSquare, kMiddle, Corner::kBottomRight, {50, 50}, {100, 100, 1}},
      {kWide, {100, 0, 600}, Corner::kTopLeft, {-300, -300}, {0, -100, 700}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DraggedCorner(c.frame, c.corner, c.pointer, c.picture), c.expected) << static_cast<int>(c.corner);
  }
}

TEST(FrameTest, WheelResizesByATenthPerNotchAroundThePointer) {
  const struct {
    Frame frame;
    int notches;
    Point pointer;
    Frame expected;
  } cases[] = {
      {kMiddle, 1, {300, 300}, {120, 120, 360}},  {kMiddle, 2, {300, 300}, {138, 138, 324}},
      {kMiddle, -1, {300, 300}, {80, 80, 440}},   {kMiddle, 1, {500, 500}, {140, 140, 360}},
      {kMiddle, 0, {300, 300}, kMiddle},          {{0, 0, 4}, 1, {0, 0}, {0, 0, 3}},
      {{0, 0, 4}, -1, {0, 0}, {0, 0, 5}},         {{0, 0, 1}, 1, {0, 0}, {0, 0, 1}},
      {{0, 0, 1000}, -1, {300, 300}, {0, 0, 1000}},
  };
  for (const auto& c : cases) EXPECT_EQ(Wheeled(c.frame, c.notches, c.pointer, kSquare), c.expected) << c.notches;
}

TEST(FrameTest, KeysMoveAndResize) {
  const struct {
    Frame frame;
    Key key;
    Frame plain, shifted;
  } cases[] = {
      {kMiddle, Key::kLeft, {99, 100, 400}, {60, 100, 400}},
      {kMiddle, Key::kRight, {101, 100, 400}, {140, 100, 400}},
      {kMiddle, Key::kUp, {100, 99, 400}, {100, 60, 400}},
      {kMiddle, Key::kDown, {100, 101, 400}, {100, 140, 400}},
      {kMiddle, Key::kPlus, {80, 80, 440}, {80, 80, 440}},
      {kMiddle, Key::kMinus, {120, 120, 360}, {120, 120, 360}},
      {{0, 0, 400}, Key::kLeft, {0, 0, 400}, {0, 0, 400}},
      {{10, 10, 4}, Key::kLeft, {9, 10, 4}, {9, 10, 4}},
      {{10, 10, 15}, Key::kLeft, {9, 10, 15}, {8, 10, 15}},  // 1.5 rounds to 2
      // A pixel's resize around the centre: + then − lands where it started.
      {{10, 10, 11}, Key::kPlus, {10, 10, 12}, {10, 10, 12}},
      {{10, 10, 12}, Key::kMinus, {10, 10, 11}, {10, 10, 11}},
      {{10, 10, 4}, Key::kMinus, {10, 10, 3}, {10, 10, 3}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AfterKey(c.frame, c.key, false, kSquare), c.plain) << static_cast<int>(c.key);
    EXPECT_EQ(AfterKey(c.frame, c.key, true, kSquare), c.shifted) << static_cast<int>(c.key);
  }
}

TEST(FrameTest, DescriptionReadsSideAndPlace) {
  EXPECT_EQ(FrameDescription({100, 0, 600}), u"Ausschnitt 600 × 600 Pixel, links 100, oben 0");
  EXPECT_EQ(FrameDescription({-100, -25, 800}), u"Ausschnitt 800 × 800 Pixel, links -100, oben -25");
}

TEST(FrameTest, ViewShowsTheBoundingSquareCentredAndWhole) {
  const struct {
    PictureSize picture;
    double viewWidth, viewHeight;
    Point boundsTopLeft, boundsBottomRight;  // in view pixels
  } cases[] = {
      {kWide, 400, 200, {100, 0}, {300, 200}},
      {{600, 800}, 200, 400, {0, 100}, {200, 300}},
  };
  for (const auto& c : cases) {
    const ViewMapping view(c.picture, c.viewWidth, c.viewHeight);
    const Frame bounds = BoundingSquare(c.picture);
    const Point topLeft = view.ToView({1.0 * bounds.left, 1.0 * bounds.top});
    const Point bottomRight = view.ToView({1.0 * bounds.left + bounds.size, 1.0 * bounds.top + bounds.size});
    EXPECT_DOUBLE_EQ(view.Scale(), 0.25);
    EXPECT_DOUBLE_EQ(topLeft.x, c.boundsTopLeft.x);
    EXPECT_DOUBLE_EQ(topLeft.y, c.boundsTopLeft.y);
    EXPECT_DOUBLE_EQ(bottomRight.x, c.boundsBottomRight.x);
    EXPECT_DOUBLE_EQ(bottomRight.y, c.boundsBottomRight.y);
    for (const Point p : {Point{0, 0}, Point{123.25, 77.5}, Point{-40, 900}}) {
      const Point back = view.ToPicture(view.ToView(p));
      EXPECT_DOUBLE_EQ(back.x, p.x);
      EXPECT_DOUBLE_EQ(back.y, p.y);
    }
  }
}

TEST(FrameTest, GripFollowsWhereThePressLands) {
  const struct {
    Frame frame;
    Point pointer;
    Grip expected;
  } cases[] = {
      {kMiddle, {103, 95}, Grip::kTopLeft},      {kMiddle, {505, 108}, Grip::kTopRight},
      {kMiddle, {92, 492}, Grip::kBottomLeft},   {kMiddle, {500, 500}, Grip::kBottomRight},
      {kMiddle, {300, 300}, Grip::kMove},        {kMiddle, {108.5, 100}, Grip::kMove},
      {kMiddle, {50, 50}, Grip::kNone},          {kMiddle, {509, 300}, Grip::kNone},
      {{10, 10, 2}, {11.5, 11.8}, Grip::kBottomRight},  // overlapping grips: the nearest
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GripAt(c.frame, c.pointer, 8), c.expected) << c.pointer.x << ", " << c.pointer.y;
  }
}

}  // namespace
}  // namespace velmora::framing
