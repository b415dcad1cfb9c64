// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bitmaps the X-Face tests share.

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "xface/bitmap.h"

namespace velmora::xface::test {

template <typename IsBlack>
Bitmap Painted(IsBlack isBlack) {
  Bitmap bitmap;
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int x = 0; x < kXFaceSide; ++x) bitmap.SetBlack(x, y, isBlack(x, y));
  }
  return bitmap;
}

// A disc with a bar in the top left corner, so that a mirrored or turned
// bitmap differs.
inline bool InDiscAndBar(int x, int y) {
  const int dx = x - 28;
  const int dy = y - 26;
  return dx * dx + dy * dy <= 15 * 15 || (y < 4 && x < 20);
}

inline Bitmap Noise(unsigned seed) {
  std::mt19937 random(seed);
  return Painted([&random](int, int) { return (random() & 1) != 0; });
}

// A bitmap found by searching for long codes: its code has 578 characters,
// and writing it the library runs 2 bytes past a buffer of 576. Each row is
// 12 hex digits, the leftmost pixel in the top bit.
inline Bitmap PastTheLibrarysBuffer() {
  static constexpr std::array<std::string_view, kXFaceSide> kRows = {
      "FFFCFFFFFFFF",
      "EDA75B64B6DB",
      "24932925E648",
      "9A6164904925",
      "4734B6DB6D36",
      "ECF6066993DA",
      "A49365261261",
      "B2492592C20D",
      "DE6C90FA4194",
      "ED96DB64A2C3",
      "A4D8C926F262",
      "36CD25D64B56",
      "C96E14C189BB",
      "ED92DB43B499",
      "319669B0936E",
      "B241249A4B27",
      "CECDA61B5D82",
      "ECD64B69B1D8",
      "B316D93C924F",
      "B3994D944924",
      "DB61ED4B4D73",
      "E7765169F2CA",
      "A49A4CB4B04C",
      "B2C96D924BF6",
      "B67192C86930",
      "FDB61B6F74A7",
      "A491D90C90CF",
      "A64984D0CD60",
      "FB6DB68EEC14",
      "C897DB6D92D7",
      "A6DA4A64A369",
      "E67924924C64",
      "D927B6D96F8E",
      "CD96592D9491",
      "AC907E23B279",
      "F25B14D25B26",
      "D5C91AF96195",
      "A4C6C32588DB",
      "B64A49299BB8",
      "EA0938904826",
      "C96DEE9BE516",
      "EDA78BE4AED9",
      "B492432592C9",
      "B2796490D82C",
      "CD2896D92DB6",
      "4C83B325A4C2",
      "BEDBD914F2CE",
      "C6481CDA0F32",
  };
  return Painted([](int x, int y) {
    const char digit = kRows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x / 4)];
    const int value = digit <= '9' ? digit - '0' : digit - 'A' + 10;
    return (value >> (3 - x % 4) & 1) != 0;
  });
}

struct Shape {
  std::string name;
  Bitmap bitmap;
  bool mayBeRefused;  // too noisy for some codes
};

inline std::vector<Shape> Shapes() {
  return {
      {"AllWhite", Painted([](int, int) { return false; }), false},
      {"AllBlack", Painted([](int, int) { return true; }), false},
      {"Checkerboard", Painted([](int x, int y) { return (x + y) % 2 == 1; }), false},
      {"DiscAndBar", Painted(InDiscAndBar), false},
      {"Noise", Noise(1), true},
      {"PastTheLibrarysBuffer", PastTheLibrarysBuffer(), true},
  };
}

}  // namespace velmora::xface::test
