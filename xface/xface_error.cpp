// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/xface_error.h"

#include <string>

#include "face/face_limits.h"
#include "platform/text.h"
#include "xface/xface_code.h"

namespace velmora::xface {
namespace {

constexpr std::u16string_view kNoCodeText = u"Der Text enthält keinen X-Face-Code.";
constexpr std::u16string_view kForeignCharacterText = u"Der Text enthält Zeichen, die in keinem X-Face-Code vorkommen.";
constexpr std::u16string_view kNotAFaceText = u"Der Text ist kein gültiger X-Face-Code.";
constexpr std::u16string_view kTooDetailedText = u"Das Bild ist zu unruhig für ein X-Face.";

std::u16string_view CodeTooLongText() {
  static const std::u16string text =
      u"Der X-Face-Code ist zu lang: mehr als " + DecimalText(kLongestXFaceCode) + u" Zeichen.";
  return text;
}

}  // namespace

std::u16string_view XFaceErrorText(XFaceError error) {
  switch (error) {
    case XFaceError::kNoCode: return kNoCodeText;
    case XFaceError::kCodeTooLong: return CodeTooLongText();
    case XFaceError::kForeignCharacter: return kForeignCharacterText;
    case XFaceError::kNotAFace: return kNotAFaceText;
    case XFaceError::kTooDetailed: return kTooDetailedText;
  }
  return kNotAFaceText;
}

}  // namespace velmora::xface
