// SPDX-License-Identifier: GPL-3.0-or-later
#include "codec/code_page.h"

#include <algorithm>
#include <memory>

namespace velmora {

const std::array<char16_t, 256> kAnsiCodePage = [] {
  std::array<char16_t, 256> page{};
  for (std::size_t b = 0; b < page.size(); ++b) page[b] = static_cast<char16_t>(b);
  std::copy(kAnsiCodePage80To9F.begin(), kAnsiCodePage80To9F.end(), page.begin() + 0x80);
  return page;
}();

namespace {

constexpr char kUnmappable = '?';

// Character code -> byte + 1 for the characters of the code page, 0 for the rest.
const std::array<std::uint16_t, 0x10000>& ReverseCodePage() {
  static const auto reverse = [] {
    auto table = std::make_unique<std::array<std::uint16_t, 0x10000>>();
    table->fill(0);
    for (std::size_t b = 0; b < kAnsiCodePage.size(); ++b) {
      (*table)[kAnsiCodePage[b]] = static_cast<std::uint16_t>(b + 1);
    }
    return table;
  }();
  return *reverse;
}

}  // namespace

std::u16string BytesToByteString(std::span<const std::uint8_t> bytes) {
  std::u16string text(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), text.begin(),
                 [](std::uint8_t b) { return kAnsiCodePage[b]; });
  return text;
}

std::string ByteStringToBytes(std::u16string_view text) {
  const auto& reverse = ReverseCodePage();
  std::string bytes(text.size(), '\0');
  std::transform(text.begin(), text.end(), bytes.begin(), [&reverse](char16_t c) {
    const std::uint16_t entry = reverse[c];
    return entry == 0 ? kUnmappable : static_cast<char>(entry - 1);
  });
  return bytes;
}

}  // namespace velmora
