// SPDX-License-Identifier: GPL-3.0-or-later
#include "face/reader_hints.h"

#include <cstdint>
#include <optional>

#include "face/face_limits.h"
#include "face/png_header.h"
#include "platform/text.h"

namespace velmora::face {
namespace {

std::u16string WarnsAboveBytesHint() {
  return u"Ein Leseprogramm warnt bei Bilddateien über " + DecimalText(kLargestUnwarnedBytes) + u" Bytes.";
}

}  // namespace

bool IsShownEverywhere(const PixelSize& size) {
  constexpr auto kSide = static_cast<std::uint32_t>(kFaceSide);
  return size.width == kSide && size.height == kSide;
}

std::u16string OnlyExactFaceSizeHint() {
  const std::u16string side = DecimalText(kFaceSide);
  return u"Manche Leseprogramme zeigen nur Bilder von genau " + side + u" × " + side + u" Pixeln.";
}

std::u16string ReaderHints(std::string_view file, std::u16string_view lineBreak) {
  const std::optional<PixelSize> size = PngPixelSize(file);
  if (!size) return u"";
  std::u16string hints;
  if (!IsShownEverywhere(*size)) hints = OnlyExactFaceSizeHint();
  if (file.size() > kLargestUnwarnedBytes) {
    if (!hints.empty()) hints += lineBreak;
    hints += WarnsAboveBytesHint();
  }
  return hints;
}

}  // namespace velmora::face
