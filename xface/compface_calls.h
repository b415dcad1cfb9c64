// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two calls into libcompface. The library keeps all its state in globals
// and leaves through one shared jmp_buf on errors, so the whole process runs
// one call at a time; both functions take that turn themselves.

#include <optional>
#include <string>
#include <string_view>

namespace velmora::xface {

// compface(3): the code the library writes for a bitmap text (48 lines of
// three "0xXXXX," words, leftmost pixel in the top bit, 1 = black), in its
// own lines, each beginning with a space and ending in LF. Nothing when the
// library fails. Hand it only text made by BitmapText (xface/xface_code.cpp):
// its reader overflows on other forms.
[[nodiscard]] std::optional<std::string> CompressBitmapText(std::string_view bitmapText);

// uncompface(3): the bitmap text the library reads from a code, or nothing
// when it fails. The library turns almost any text into some picture.
[[nodiscard]] std::optional<std::string> UncompressCode(std::string_view code);

}  // namespace velmora::xface
