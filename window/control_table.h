// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window frmBase64 at design time: caption, client size and every
// control's kind, caption, place and size in twips, tab order and initial
// state. The platform builds the window from this table alone.

#include "platform/form.h"

namespace velmora {

[[nodiscard]] const WindowTable& FrmBase64Table();

}  // namespace velmora
