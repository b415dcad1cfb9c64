// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The single-byte code page through which bytes become 16-bit characters and
// back: Windows-1252, with its five undefined bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) mapped to the C1 controls of the same value so that all 256 bytes
// round-trip. Every character of it has a code below 16384.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velmora {

extern const std::array<char16_t, 256> kAnsiCodePage;

// The characters of bytes 0x80-0x9F, the only bytes whose character is not the
// byte's own value.
inline constexpr std::array<char16_t, 32> kAnsiCodePage80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte string of raw bytes: one character per byte.
[[nodiscard]] std::u16string BytesToByteString(std::span<const std::uint8_t> bytes);

// The bytes of a text, one per character. A character that the code page does
// not hold becomes '?', as the system's own conversion writes it.
[[nodiscard]] std::string ByteStringToBytes(std::u16string_view text);

}  // namespace velmora
