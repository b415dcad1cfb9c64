// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: DecodeBase64 on any 16-bit text, each pair of input bytes
// one character (little-endian; an odd last byte is left out).
//
// Besides not crashing, the decoder keeps its length promise, and what it
// returns is a fixed point of encoding and decoding again: the decoder
// accepts anything, but every byte string it gives has one canonical code.

#include <cstdint>
#include <cstring>
#include <string>

#include "codec/base64.h"
#include "fuzz/fuzz_support.h"

namespace {

using velmora::fuzz::Require;
using velmora::modBase64::DecodeBase64;
using velmora::modBase64::EncodeBase64;

std::u16string TextOf(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return text;
}

// The characters left once at most two trailing "=" are taken as padding.
std::size_t UnpaddedLength(const std::u16string& text) {
  std::size_t n = text.size();
  for (int pad = 0; pad < 2 && n > 0 && text[n - 1] == u'='; ++pad) --n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = TextOf(data, size);
  const std::u16string bytes = DecodeBase64(text);
  Require(bytes.size() == 3 * UnpaddedLength(text) / 4, "decoding n characters gives 3n/4 bytes");
  Require(DecodeBase64(EncodeBase64(bytes)) == bytes, "a decoded byte string survives encoding and decoding");
  return 0;
}
