// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any byte string through the code page, EncodeBase64 and
// DecodeBase64 comes back exactly, and its code is canonical Base64: the
// promised length, alphabet characters only, "=" only as padding.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "fuzz/fuzz_support.h"

namespace {

using velmora::fuzz::Require;

constexpr std::u16string_view kAlphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Padding: none after whole groups of 3 bytes, else 3 - (n % 3) characters.
std::size_t PaddingFor(std::size_t byteCount) { return (3 - byteCount % 3) % 3; }

bool IsCanonicalCode(const std::u16string& code, std::size_t byteCount) {
  const std::size_t padding = PaddingFor(byteCount);
  if (code.size() != 4 * ((byteCount + 2) / 3)) return false;
  const std::u16string_view body = std::u16string_view(code).substr(0, code.size() - padding);
  const std::u16string_view tail = std::u16string_view(code).substr(code.size() - padding);
  return body.find_first_not_of(kAlphabet) == std::u16string_view::npos &&
         tail.find_first_not_of(u'=') == std::u16string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string bytes = velmora::BytesToByteString(std::span(data, size));
  const std::u16string code = velmora::modBase64::EncodeBase64(bytes);
  Require(IsCanonicalCode(code, size), "the code is canonical Base64 of its length");
  const std::u16string decoded = velmora::modBase64::DecodeBase64(code);
  Require(decoded == bytes, "decoding the code gives the byte string back");
  Require(velmora::ByteStringToBytes(decoded) == std::string_view(reinterpret_cast<const char*>(data), size),
          "the byte string gives the input bytes back");
  return 0;
}
