// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon: a ruled pad with a Face on it (icon/velmora.svg).

#include <QIcon>

namespace velmora {

// Drawn at 16, 32, 48, 64, 128 and 256 pixels, the icon theme's sizes.
[[nodiscard]] QIcon WindowIcon();

}  // namespace velmora
