// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text.h"

#include <cstdint>

namespace velmora {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kFirstEscapedByte = 0x80;
constexpr char32_t kEscapeBase = 0xDC00;  // U+DC80 stands for the byte 0x80

bool IsEscapedByte(char32_t c) { return c >= kEscapeBase + kFirstEscapedByte && c <= kEscapeBase + 0xFF; }

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
  auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18));
    put(0x80 | ((c >> 12) & 0x3F));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

// Decodes one UTF-8 sequence starting at text[i]; advances i past it.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<std::uint8_t>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1Fu, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0Fu, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07u, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || (static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (static_cast<std::uint8_t>(text[i++]) & 0x3Fu);
  }
  const bool valid = c >= minimum && c <= 0x10FFFF && !IsHighSurrogate(c) && !IsLowSurrogate(c);
  return valid ? c : kReplacement;
}

// The code point at text[i], a pair of surrogates joined; advances i past it.
// A lone surrogate is returned as it stands.
char32_t NextUtf16CodePoint(std::u16string_view text, std::size_t& i) {
  const char32_t c = text[i++];
  if (IsHighSurrogate(c) && i < text.size() && IsLowSurrogate(text[i])) {
    return 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00u);
  }
  return c;
}

// What a lone surrogate becomes in UTF-8 text.
enum class LoneSurrogates { kReplaced, kEscapedBytesRestored };

std::string Utf8Of(std::u16string_view text, LoneSurrogates lone) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextUtf16CodePoint(text, i);
    if (lone == LoneSurrogates::kEscapedBytesRestored && IsEscapedByte(c)) {
      out.push_back(static_cast<char>(c - kEscapeBase));
    } else {
      AppendUtf8(out, IsHighSurrogate(c) || IsLowSurrogate(c) ? kReplacement : c);
    }
  }
  return out;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) { return Utf8Of(text, LoneSurrogates::kReplaced); }

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) AppendUtf16(out, NextCodePoint(text, i));
  return out;
}

std::u16string FromNativeName(std::string_view name) {
  std::u16string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t start = i;
    const char32_t c = NextCodePoint(name, i);
    // A decoded U+FFFD that the bytes do not spell out is a malformed
    // sequence: its first byte is escaped, and decoding goes on after it.
    const bool malformed = c == kReplacement && name.substr(start, i - start) != "\xEF\xBF\xBD";
    if (malformed) {
      i = start + 1;
      out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<std::uint8_t>(name[start])));
    } else {
      AppendUtf16(out, c);
    }
  }
  return out;
}

std::string ToNativeName(std::u16string_view name) { return Utf8Of(name, LoneSurrogates::kEscapedBytesRestored); }

std::u16string ShownName(std::u16string_view name) {
  std::u16string shown(name);
  for (char16_t& c : shown) {
    if (IsEscapedByte(c)) c = static_cast<char16_t>(kReplacement);
  }
  return shown;
}

}  // namespace velmora
