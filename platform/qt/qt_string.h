// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The logic's 16-bit strings and Qt's strings hold the same UTF-16 code units.

#include <QString>
#include <string>
#include <string_view>

namespace velmora {

[[nodiscard]] inline QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] inline std::u16string FromQString(const QString& text) { return text.toStdU16String(); }

}  // namespace velmora
