// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The X-Face code of a bitmap and the bitmap of an X-Face code, by
// libcompface, and the X-Face header that carries the code in a message.
//
// A code is 1 to kLongestXFaceCode characters from ! to ~; white space
// between them does not count. The library accepts almost any text and
// overflows its buffers on some noisy bitmaps, so every result is checked
// against the other direction: a decoded picture must encode to exactly the
// code it came from, and an encoded code must decode to exactly its bitmap.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "xface/bitmap.h"
#include "xface/xface_error.h"

namespace velmora::xface {

// The most characters the library's number of 576 bytes can always hold:
// 94 to the 703rd power is below 256 to the 576th, 94 to the 704th above.
inline constexpr std::size_t kLongestXFaceCode = 703;
// The header field's name with its colon, as a message carries it.
inline constexpr std::u16string_view kXFaceFieldName = u"X-Face:";

// The code as the library folds it: lines each beginning with a space (72
// characters on the first, so that the header's first line has 79; 79 on
// the others), joined by LF, no line break at the end. kTooDetailed when the
// library fails or its code does not decode back to the bitmap.
[[nodiscard]] std::variant<std::u16string, XFaceError> EncodeXFace(const Bitmap& bitmap);

// The bitmap of a code: the code alone or a whole header (kXFaceFieldName in
// any case in front), folded or not. White space (space, tab, CR, LF) is
// skipped.
[[nodiscard]] std::variant<Bitmap, XFaceError> DecodeXFace(std::u16string_view text);

// The code's characters, white space left out.
[[nodiscard]] std::size_t CodeCharacterCount(std::u16string_view code);

// The longest line of the header: the most that RFC 5322 recommends. The
// library's own lines of 79 make a mail program built on Python's email
// package rewrite the header as encoded words, which no reader decodes.
inline constexpr std::size_t kLongestXFaceLine = 78;

// The header for a code of EncodeXFace: kXFaceFieldName, a space and the
// code, folded into lines of at most kLongestXFaceLine, each further line
// beginning with a space. They are joined by LF, the line end of text on a
// Linux clipboard: mail programs there take LF as the line break and write
// CR LF themselves when they send, while a CR pasted along would stay in the
// header as a stray character.
[[nodiscard]] std::u16string XFaceHeader(std::u16string_view code);

}  // namespace velmora::xface
