// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window logic writes and reads line breaks as CR LF. The desktop around
// it does not: the widgets show every line break as one LF, and other
// programs hand over text with LF (Linux), CR LF (Windows) or a lone CR (old
// Mac programs). These convert texts, and positions in them, between the
// logic's form and the LF form.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// CR LF, a lone CR and a lone LF each become one LF.
[[nodiscard]] std::u16string ShownText(std::u16string_view text);
// CR LF, a lone CR and a lone LF each become CR LF: text from the desktop in
// the logic's form.
[[nodiscard]] std::u16string CrLfText(std::u16string_view text);

// Where a position of the logic's text lies in the shown text. A position
// past the end means the end; one between CR and LF, behind the line break.
[[nodiscard]] std::size_t ShownPosition(std::u16string_view text, std::size_t position);
// Where a position of the shown text lies in the logic's text.
[[nodiscard]] std::size_t TextPosition(std::u16string_view text, std::size_t shownPosition);

}  // namespace velmora
