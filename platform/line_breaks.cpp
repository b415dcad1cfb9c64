// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/line_breaks.h"

#include <algorithm>

namespace velmora {
namespace {

bool IsCrLfAt(std::u16string_view text, std::size_t at) {
  return text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n';
}

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

std::u16string ShownText(std::u16string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (IsCrLfAt(text, at)) ++at;
    shown.push_back(text[at] == u'\r' ? u'\n' : text[at]);
  }
  return shown;
}

std::u16string CrLfText(std::u16string_view text) {
  std::u16string converted;
  converted.reserve(text.size() + static_cast<std::size_t>(std::ranges::count(text, u'\n')));
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (IsCrLfAt(text, at)) ++at;
    if (IsLineBreak(text[at])) {
      converted += u"\r\n";
    } else {
      converted.push_back(text[at]);
    }
  }
  return converted;
}

std::size_t ShownPosition(std::u16string_view text, std::size_t position) {
  const std::size_t end = std::min(position, text.size());
  std::size_t shown = end;
  // Each CR LF wholly before the position counts once.
  for (std::size_t at = 0; at + 1 < end; ++at) {
    if (IsCrLfAt(text, at)) --shown;
  }
  return shown;
}

std::size_t TextPosition(std::u16string_view text, std::size_t shownPosition) {
  std::size_t at = 0;
  for (std::size_t shown = 0; shown < shownPosition && at < text.size(); ++shown) {
    at += IsCrLfAt(text, at) ? 2U : 1U;
  }
  return at;
}

}  // namespace velmora
