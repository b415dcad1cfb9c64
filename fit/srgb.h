// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sRGB transfer curve (IEC 61966-2-1), both ways, on values 0 to 1.

#include <cmath>

namespace velmora::fit {

[[nodiscard]] inline double SrgbToLinear(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

[[nodiscard]] inline double LinearToSrgb(double linear) {
  return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

}  // namespace velmora::fit
