#include "fit/fit_error.h"

namespace velmora::fit {
namespace {

constexpr std::u16string_view kUnreadableText = u"Das Bild lässt sich nicht lesen.";
constexpr std::u16string_view kTooManyPixelsText = u"Das Bild ist zu groß: mehr als 16 Megapixel.";
constexpr std::u16string_view kDoesNotFitText = u"Das Bild lässt sich nicht auf 725 Bytes verkleinern.";

}  // namespace

std::u16string_view FitErrorText(FitError error) {
  switch (error) {
    case FitError::kUnreadable: return kUnreadableText;
    case FitError::kTooManyPixels: return kTooManyPixelsText;
    case FitError::kDoesNotFit: return kDoesNotFitText;
  }
  return kUnreadableText;
}

}  // namespace velmora::fit
