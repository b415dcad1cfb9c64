// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table-driven Base64 code, a group at a time: all of the codec on CPUs
// without vector instructions, the partial last group everywhere, and the
// fallback of the vector code for the blocks it does not take.

#include <cstddef>
#include <string_view>

#include "codec/base64.h"

namespace velmora::modBase64 {

inline constexpr std::u16string_view kAlphabet =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
inline constexpr char16_t kPad = u'=';

// User text may hold any 16-bit character; one beyond a table's range counts
// like a character inside it that the table does not hold, so no lookup ever
// leaves a table. The range test is the same for every character and is
// predicted perfectly for the program's own texts.
inline unsigned ByteOf(char16_t c) { return c < CharToByte.size() ? CharToByte[c] : 0u; }
inline unsigned ValueOf(char16_t c) { return c < CharToIndex.size() ? CharToIndex[c] : 0u; }
inline char16_t CharOf(unsigned index) { return static_cast<char16_t>(IndexToChar[index]); }
inline char16_t ByteChar(unsigned byte) { return static_cast<char16_t>(ByteToChar[byte]); }

// A group as one 24-bit number, the first byte (or code value) highest.
inline unsigned PackBytes(const char16_t* in) { return ByteOf(in[0]) << 16 | ByteOf(in[1]) << 8 | ByteOf(in[2]); }
inline unsigned PackValues(const char16_t* in) {
  return ValueOf(in[0]) << 18 | ValueOf(in[1]) << 12 | ValueOf(in[2]) << 6 | ValueOf(in[3]);
}

inline void WriteCode(unsigned bits, char16_t* out) {
  out[0] = CharOf(bits >> 18);
  out[1] = CharOf(bits >> 12 & 63);
  out[2] = CharOf(bits >> 6 & 63);
  out[3] = CharOf(bits & 63);
}
inline void WriteBytes(unsigned bits, char16_t* out) {
  out[0] = ByteChar(bits >> 16);
  out[1] = ByteChar(bits >> 8 & 255);
  out[2] = ByteChar(bits & 255);
}

// Converts `groups` whole groups of kIn characters into kOut characters each
// and moves both pointers past them.
//
// Every character goes through two lookups in a row, the second indexed by
// the first's result. Done group by group, those chains fill the CPU's
// out-of-order window before the next groups' loads can start; packing each
// group two groups before writing it lets the chains overlap (about 10%
// faster at 64 KiB).
template <std::size_t kIn, std::size_t kOut, unsigned (*Pack)(const char16_t*), void (*Write)(unsigned, char16_t*)>
void ConvertGroups(const char16_t*& in, char16_t*& out, std::size_t groups) {
  if (groups < 2) {
    if (groups == 1) Write(Pack(in), out);
    in += groups * kIn;
    out += groups * kOut;
    return;
  }
  unsigned current = Pack(in);
  unsigned next = Pack(in + kIn);
  in += 2 * kIn;
  for (groups -= 2; groups != 0; --groups, in += kIn, out += kOut) {
    const unsigned after = Pack(in);
    Write(current, out);
    current = next;
    next = after;
  }
  Write(current, out);
  Write(next, out + kOut);
  out += 2 * kOut;
}

// Groups of 3 byte string characters into 4 code characters each.
inline void EncodeGroupsScalar(const char16_t*& in, char16_t*& out, std::size_t groups) {
  ConvertGroups<3, 4, PackBytes, WriteCode>(in, out, groups);
}

// Groups of 4 code characters into 3 byte string characters each.
inline void DecodeGroupsScalar(const char16_t*& in, char16_t*& out, std::size_t groups) {
  ConvertGroups<4, 3, PackValues, WriteBytes>(in, out, groups);
}

}  // namespace velmora::modBase64
