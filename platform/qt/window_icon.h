// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon: a ruled notepad with a dog-eared top sheet.

#include <QIcon>

namespace velmora {

// 16 x 16, 32 x 32 and 48 x 48 pixels, 16 colours.
[[nodiscard]] QIcon WindowIcon();

}  // namespace velmora
