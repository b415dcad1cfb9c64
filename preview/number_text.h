// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers as the user reads them in the size reports.

#include <cstdint>
#include <string>

namespace velmora {

// The general decimal form: whole values without separator (48), others with
// the given decimal separator and up to 15 significant digits (38,4).
[[nodiscard]] std::u16string GeneralNumberText(double value, char16_t decimalSeparator);

// A byte count in kilobytes as the pattern "###.## KB" writes it: the whole
// kilobytes without leading zeros, the separator always, then up to two
// fraction digits rounded half away from zero without trailing zeros:
// 1024 -> "1, KB", 1152 -> "1,13 KB", 10240 -> "10, KB".
[[nodiscard]] std::u16string KilobyteText(std::int64_t bytes, char16_t decimalSeparator);

}  // namespace velmora
