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

// The byte string of raw bytes: one character per byte.
[[nodiscard]] std::u16string BytesToByteString(std::span<const std::uint8_t> bytes);

// The bytes of a text, one per character. A character that the code page does
// not hold becomes '?', as the system's own conversion writes it.
[[nodiscard]] std::string ByteStringToBytes(std::u16string_view text);

}  // namespace velmora
