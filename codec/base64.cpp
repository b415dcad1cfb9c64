// SPDX-License-Identifier: GPL-3.0-or-later
#include "codec/base64.h"

#include "codec/base64_scalar.h"
#include "codec/base64_simd.h"
#include "codec/code_page.h"
#include "codec/output_string.h"

namespace velmora::modBase64 {

std::array<std::uint16_t, 64> IndexToChar{};
std::array<std::uint16_t, 256> CharToIndex{};
std::array<std::uint16_t, 256> ByteToChar{};
std::array<std::uint16_t, 16384> CharToByte{};
bool TablesReady = false;

void InitCodeTables() {
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    IndexToChar[i] = kAlphabet[i];
    CharToIndex[kAlphabet[i]] = static_cast<std::uint16_t>(i);
  }
  // Rising byte order: should two bytes give one character, the higher wins.
  for (std::size_t b = 0; b < ByteToChar.size(); ++b) {
    const char16_t c = kAnsiCodePage[b];
    ByteToChar[b] = c;
    CharToByte[c] = static_cast<std::uint16_t>(b);
  }
  TablesReady = true;
}

std::u16string EncodeBase64(const std::u16string& bytes) {
  const std::size_t n = bytes.size();
  if (n == 0) return {};
  if (!TablesReady) InitCodeTables();
  return MakeOutputString(4 * ((n + 2) / 3), [&](char16_t* out) {
    const char16_t* in = bytes.data();
    EncodeWholeGroups(in, out, n / 3);
    // One or two bytes left: zero bits complete the group, "=" the code.
    if (const std::size_t left = n % 3; left != 0) {
      WriteCode(ByteOf(in[0]) << 16 | (left == 2 ? ByteOf(in[1]) << 8 : 0u), out);
      if (left == 1) out[2] = kPad;
      out[3] = kPad;
    }
  });
}

std::u16string DecodeBase64(const std::u16string& text) {
  std::size_t n = text.size();
  if (n == 0) return {};
  // At most two "=" are padding; any further ones count as ordinary characters.
  if (text[n - 1] == kPad) --n;
  if (n >= 1 && text[n - 1] == kPad) --n;

  if (!TablesReady) InitCodeTables();
  return MakeOutputString((3 * n) / 4, [&](char16_t* out) {
    const char16_t* in = text.data();
    DecodeWholeGroups(in, out, n / 4);
    // A lone last character carries no whole byte and is dropped.
    if (const std::size_t left = n % 4; left >= 2) {
      const unsigned bits = ValueOf(in[0]) << 18 | ValueOf(in[1]) << 12 | (left == 3 ? ValueOf(in[2]) << 6 : 0u);
      out[0] = ByteChar(bits >> 16);
      if (left == 3) out[1] = ByteChar(bits >> 8 & 255);
    }
  });
}

}  // namespace velmora::modBase64
