// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: on every vector instruction set this CPU has, EncodeBase64 and
// DecodeBase64 give what the table-driven code gives, for any 16-bit text:
// the text itself encoded and decoded, and its code decoded.
//
// Each input byte picks a character by its upper bits, so that texts mix
// long runs of alphabet characters with characters of every other kind at
// any offset of a vector block:
//   0x00-0x7F  an alphabet character (low six bits)
//   0x80-0x9F  the code page's character of a byte 0x80-0x9F
//   0xA0-0xBF  a character U+0080-U+009F
//   0xC0-0xDF  the code page's character of the next input byte
//   0xE0-0xEF  one of a few characters that often end or break a code
//   0xF0-0xFF  any character: the next two input bytes, little-endian

#include <hwy/targets.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "fuzz/fuzz_support.h"

namespace {

using velmora::fuzz::Require;
using velmora::modBase64::DecodeBase64;
using velmora::modBase64::EncodeBase64;

constexpr std::u16string_view kAlphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::array<char16_t, 16> kBreakers = {u'=',   u'\r',  u'\n',  u' ',   u'\t',  u'-',   u'_',   0x0000,
                                                0x00A0, 0x0100, 0x2028, 0xD800, 0xDFFF, 0xFEFF, 0xFFFE, 0xFFFF};

std::u16string TextOf(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  const std::uint8_t* const end = data + size;
  while (data != end) {
    const unsigned kind = *data++;
    if (kind < 0x80) {
      text += kAlphabet[kind & 63];
    } else if (kind < 0xA0) {
      text += velmora::kAnsiCodePage[kind];
    } else if (kind < 0xC0) {
      text += static_cast<char16_t>(kind - 0x20);
    } else if (kind < 0xE0) {
      if (data != end) text += velmora::kAnsiCodePage[*data++];
    } else if (kind < 0xF0) {
      text += kBreakers[kind & 15];
    } else if (end - data >= 2) {
      text += static_cast<char16_t>(data[0] | data[1] << 8);
      data += 2;
    }
  }
  return text;
}

struct Results {
  std::u16string encoded;
  std::u16string decoded;
  std::u16string codeDecoded;

  bool operator==(const Results&) const = default;
};

Results ResultsOn(std::int64_t target, const std::u16string& text) {
  hwy::SetSupportedTargetsForTest(target);
  Results results{EncodeBase64(text), DecodeBase64(text), {}};
  results.codeDecoded = DecodeBase64(results.encoded);
  return results;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = TextOf(data, size);
  // Best first, the table-driven code last.
  const std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
  const Results expected = ResultsOn(targets.back(), text);
  for (std::int64_t target : targets) {
    Require(ResultsOn(target, text) == expected, "every instruction set gives the table-driven code's results");
  }
  hwy::SetSupportedTargetsForTest(0);
  return 0;
}
