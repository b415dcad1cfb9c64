// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fit_error.h"

#include <string>

#include "face/face_limits.h"
#include "platform/text.h"

namespace velmora::fit {
namespace {

constexpr std::u16string_view kUnreadableText = u"Das Bild lässt sich nicht lesen.";
constexpr std::u16string_view kTooManyPixelsText = u"Das Bild ist zu groß: mehr als 50 Megapixel.";

std::u16string_view DoesNotFitText() {
  static const std::u16string text =
      u"Das Bild lässt sich nicht auf " + DecimalText(face::kLargestFaceBytes) + u" Bytes verkleinern.";
  return text;
}

}  // namespace

std::u16string_view FitErrorText(FitError error) {
  switch (error) {
    case FitError::kUnreadable: return kUnreadableText;
    case FitError::kTooManyPixels: return kTooManyPixelsText;
    case FitError::kDoesNotFit: return DoesNotFitText();
  }
  return kUnreadableText;
}

}  // namespace velmora::fit
