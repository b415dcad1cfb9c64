// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a text gives no X-Face picture, or a picture no X-Face code, with the
// German sentence for each.

#include <string_view>

namespace velmora::xface {

enum class XFaceError {
  kNoCode,            // not one code character
  kCodeTooLong,       // more than kLongestXFaceCode code characters
  kForeignCharacter,  // a character that is neither ! to ~ nor white space
  kNotAFace,          // no picture encodes to exactly this code
  kTooDetailed,       // the picture has no code the library writes correctly
};

[[nodiscard]] std::u16string_view XFaceErrorText(XFaceError error);

}  // namespace velmora::xface
