// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: DecodeXFace on any text, each input byte one character
// (0x00-0xFF; wider characters are refused before anything reaches the
// library, and the unit tests hold such cases).
//
// Besides not crashing: a text that decodes is the code of its picture. The
// picture encodes again, that code decodes to the same picture, and its
// characters are exactly the text's once white space and a leading
// "X-Face:" are left out.

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "fuzz/fuzz_support.h"
#include "xface/xface_code.h"

namespace {

using velmora::fuzz::Require;
using namespace velmora::xface;

bool IsWhiteSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string Squeezed(std::u16string_view text) {
  std::u16string squeezed;
  std::ranges::copy_if(text, std::back_inserter(squeezed), [](char16_t c) { return !IsWhiteSpace(c); });
  return squeezed;
}

bool IsFieldName(std::u16string_view text) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
  return std::ranges::equal(text, kXFaceFieldName, {}, lower, lower);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text(data, data + size);
  const auto decoded = DecodeXFace(text);
  const auto* bitmap = std::get_if<Bitmap>(&decoded);
  if (bitmap == nullptr) return 0;
  const auto encoded = EncodeXFace(*bitmap);
  Require(std::holds_alternative<std::u16string>(encoded), "a decoded picture encodes again");
  const std::u16string& code = std::get<std::u16string>(encoded);
  const auto again = DecodeXFace(code);
  Require(std::holds_alternative<Bitmap>(again) && std::get<Bitmap>(again) == *bitmap,
          "the code of a decoded picture decodes to it");
  const std::u16string given = Squeezed(text);
  const std::u16string written = Squeezed(code);
  Require(given.ends_with(written), "a decoded text ends in the picture's code");
  const std::u16string_view before = std::u16string_view(given).substr(0, given.size() - written.size());
  Require(before.empty() || IsFieldName(before), "nothing but the field name comes before the code");
  return 0;
}
