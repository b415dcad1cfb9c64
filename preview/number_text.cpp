// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/number_text.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/text.h"

namespace velmora {
namespace {

constexpr std::int64_t kBytesPerKilobyte = 1024;

std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

}  // namespace

std::u16string GeneralNumberText(double value, char16_t decimalSeparator) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::u16string text = Widen(buffer);
  std::replace(text.begin(), text.end(), u'.', decimalSeparator);
  return text;
}

std::u16string KilobyteText(std::int64_t bytes, char16_t decimalSeparator) {
  // Whole hundredths of a kilobyte, rounded half up in integers: bytes / 1024
  // is exact in binary, so no decimal rounding error can creep in.
  const std::int64_t hundredths =
      (bytes / kBytesPerKilobyte) * 100 + ((bytes % kBytesPerKilobyte) * 100 + kBytesPerKilobyte / 2) / kBytesPerKilobyte;
  const std::int64_t whole = hundredths / 100;
  const std::int64_t fraction = hundredths % 100;
  std::u16string text = whole == 0 ? u"" : DecimalText(whole);
  text += decimalSeparator;
  if (fraction != 0) {
    if (fraction % 10 == 0) {
      text += DecimalText(fraction / 10);
    } else {
      if (fraction < 10) text += u'0';
      text += DecimalText(fraction);
    }
  }
  return text + u" KB";
}

}  // namespace velmora
