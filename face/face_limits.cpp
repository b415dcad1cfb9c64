// SPDX-License-Identifier: GPL-3.0-or-later
#include "face/face_limits.h"

#include <algorithm>

namespace velmora::face {

std::u16string DecimalDigits(std::size_t number) {
  std::u16string digits;
  do {
    digits.push_back(static_cast<char16_t>(u'0' + number % 10));
    number /= 10;
  } while (number != 0);
  std::ranges::reverse(digits);
  return digits;
}

}  // namespace velmora::face
