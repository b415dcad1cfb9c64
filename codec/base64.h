// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// modBase64: Base64 (RFC 4648, standard alphabet, "=" padding, no line breaks)
// between byte strings and Face code text.
//
// A byte string holds one 16-bit character per byte, the character that the
// code page (codec/code_page.h) gives that byte.
//
// Neither function fails. The decoder does not validate: every input
// character counts by its position, a character outside the alphabet counts
// as value 0, at most two trailing "=" are dropped as padding, and a lone last
// character is dropped. In the encoder, a character that no byte gives counts
// as byte 0.

#include <array>
#include <cstdint>
#include <string>

namespace velmora::modBase64 {

// The code tables, all 0 until the first non-empty encode or decode builds
// them; never changed afterwards.
extern std::array<std::uint16_t, 64> IndexToChar;     // alphabet position -> character
extern std::array<std::uint16_t, 256> CharToIndex;    // character -> alphabet position
extern std::array<std::uint16_t, 256> ByteToChar;     // byte -> code page character
extern std::array<std::uint16_t, 16384> CharToByte;   // code page character -> byte
extern bool TablesReady;

// Builds the four tables from the alphabet and the code page. Called by the
// two functions below on first use; callers need no setup.
void InitCodeTables();

// The Face code text of a byte string: 4 * ((n + 2) / 3) characters for n bytes.
[[nodiscard]] std::u16string EncodeBase64(const std::u16string& bytes);

// The byte string that a Base64 text stands for; (3 * n) / 4 bytes for n
// characters after the padding is dropped.
[[nodiscard]] std::u16string DecodeBase64(const std::u16string& text);

}  // namespace velmora::modBase64
