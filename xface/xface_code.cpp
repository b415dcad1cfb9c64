// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/xface_code.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "face/face_header.h"
#include "xface/compface_calls.h"

namespace velmora::xface {
namespace {

constexpr int kBitsPerWord = 16;
constexpr int kWordsPerRow = kXFaceSide / kBitsPerWord;
constexpr int kWords = kWordsPerRow * kXFaceSide;
constexpr int kHexDigitsPerWord = 4;
constexpr std::string_view kHexPrefix = "0x";
constexpr std::u16string_view kWhiteSpace = u" \t\r\n";

bool IsWhiteSpace(char16_t c) { return kWhiteSpace.find(c) != std::u16string_view::npos; }
bool IsCodeCharacter(char16_t c) { return c >= u'!' && c <= u'~'; }

std::uint16_t RowWord(const Bitmap& bitmap, int y, int word) {
  std::uint16_t value = 0;
  for (int bit = 0; bit < kBitsPerWord; ++bit) {
    value = static_cast<std::uint16_t>(value << 1 | (bitmap.IsBlack(word * kBitsPerWord + bit, y) ? 1 : 0));
  }
  return value;
}

void SetRowWord(Bitmap& bitmap, int y, int word, unsigned value) {
  for (int bit = 0; bit < kBitsPerWord; ++bit) {
    bitmap.SetBlack(word * kBitsPerWord + bit, y, (value >> (kBitsPerWord - 1 - bit) & 1) != 0);
  }
}

// The only form the library's reader is safe with: kWordsPerRow words
// "0xXXXX," to a line.
std::string BitmapText(const Bitmap& bitmap) {
  static constexpr std::string_view kHexDigits = "0123456789ABCDEF";
  std::string text;
  for (int y = 0; y < kXFaceSide; ++y) {
    for (int word = 0; word < kWordsPerRow; ++word) {
      const std::uint16_t value = RowWord(bitmap, y, word);
      text += kHexPrefix;
      for (int digit = kHexDigitsPerWord - 1; digit >= 0; --digit) text += kHexDigits[value >> (4 * digit) & 0xF];
      text += ',';
    }
    text += '\n';
  }
  return text;
}

std::optional<Bitmap> ParseBitmapText(std::string_view text) {
  Bitmap bitmap;
  std::size_t at = 0;
  for (int word = 0; word < kWords; ++word) {
    at = text.find(kHexPrefix, at);
    if (at == std::string_view::npos || text.size() - at < kHexPrefix.size() + kHexDigitsPerWord) return std::nullopt;
    const char* digits = text.data() + at + kHexPrefix.size();
    unsigned value = 0;
    const auto [end, failure] = std::from_chars(digits, digits + kHexDigitsPerWord, value, 16);
    if (failure != std::errc{} || end != digits + kHexDigitsPerWord) return std::nullopt;
    SetRowWord(bitmap, word / kWordsPerRow, word % kWordsPerRow, value);
    at += kHexPrefix.size() + kHexDigitsPerWord;
  }
  return bitmap;
}

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
  return std::ranges::equal(a, b, {}, lower, lower);
}

std::u16string_view WithoutFieldName(std::u16string_view text) {
  const std::size_t start = std::min(text.find_first_not_of(kWhiteSpace), text.size());
  text.remove_prefix(start);
  if (EqualIgnoringAsciiCase(text.substr(0, kXFaceFieldName.size()), kXFaceFieldName)) {
    text.remove_prefix(kXFaceFieldName.size());
  }
  return text;
}

// The code characters of a text, narrowed to the library's char once each
// is known to lie in ! to ~.
std::variant<std::string, XFaceError> CodeCharacters(std::u16string_view text) {
  std::string code;
  for (const char16_t c : WithoutFieldName(text)) {
    if (IsWhiteSpace(c)) continue;
    if (!IsCodeCharacter(c)) return XFaceError::kForeignCharacter;
    code += static_cast<char>(c);
  }
  if (code.empty()) return XFaceError::kNoCode;
  if (code.size() > kLongestXFaceCode) return XFaceError::kCodeTooLong;
  return code;
}

std::string WithoutWhiteSpace(std::string text) {
  std::erase_if(text, [](char c) { return IsWhiteSpace(static_cast<char16_t>(c)); });
  return text;
}

std::u16string Widened(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace

std::variant<std::u16string, XFaceError> EncodeXFace(const Bitmap& bitmap) {
  std::optional<std::string> written = CompressBitmapText(BitmapText(bitmap));
  if (!written) return XFaceError::kTooDetailed;
  while (!written->empty() && written->back() == '\n') written->pop_back();
  std::u16string code = Widened(*written);
  const auto decoded = DecodeXFace(code);
  const auto* back = std::get_if<Bitmap>(&decoded);
  if (back == nullptr || *back != bitmap) return XFaceError::kTooDetailed;
  return code;
}

std::variant<Bitmap, XFaceError> DecodeXFace(std::u16string_view text) {
  const auto characters = CodeCharacters(text);
  if (const auto* error = std::get_if<XFaceError>(&characters)) return *error;
  const std::string& code = std::get<std::string>(characters);
  const std::optional<std::string> bitmapText = UncompressCode(code);
  const std::optional<Bitmap> bitmap = bitmapText ? ParseBitmapText(*bitmapText) : std::nullopt;
  if (!bitmap) return XFaceError::kNotAFace;
  // Any text gives some picture; only a code the picture encodes back to is one.
  const std::optional<std::string> again = CompressBitmapText(BitmapText(*bitmap));
  if (!again || WithoutWhiteSpace(*again) != code) return XFaceError::kNotAFace;
  return *bitmap;
}

std::size_t CodeCharacterCount(std::u16string_view code) {
  return static_cast<std::size_t>(std::ranges::count_if(code, [](char16_t c) { return !IsWhiteSpace(c); }));
}

std::u16string XFaceHeader(std::u16string_view code) {
  std::u16string characters(code);
  std::erase_if(characters, IsWhiteSpace);
  return face::JoinedLines(face::FoldedLines(kXFaceFieldName, characters, kLongestXFaceLine), u"\n");
}

}  // namespace velmora::xface
