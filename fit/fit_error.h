// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a picture could not be made into a Face, with the German text the
// window shows for it.

#include <string_view>

namespace velmora::fit {

enum class FitError {
  kUnreadable,     // not a PNG file libpng can decode, or damaged
  kTooManyPixels,  // more than kMaxPicturePixels (fit/png_decode.h)
  kDoesNotFit,     // no candidate, not even one of 2 colours, fits the byte limit
};

// The sentence the window shows for the error; for kDoesNotFit it names the
// largest Face file size.
[[nodiscard]] std::u16string_view FitErrorText(FitError error);

}  // namespace velmora::fit
