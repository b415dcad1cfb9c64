// SPDX-License-Identifier: GPL-3.0-or-later
#include "face/png_header.h"

namespace velmora::face {
namespace {

using namespace std::string_view_literals;

// The header chunk's length, always 13, and its type.
constexpr std::string_view kHeaderChunkStart = "\0\0\0\x0DIHDR"sv;
constexpr std::size_t kWidthAt = kPngSignature.size() + kHeaderChunkStart.size();
constexpr std::size_t kHeightAt = kWidthAt + 4;
constexpr std::size_t kHeightEnd = kHeightAt + 4;

}  // namespace

std::uint32_t ReadBigEndian32(std::string_view bytes) {
  std::uint32_t value = 0;
  for (const char byte : bytes.substr(0, 4)) value = value << 8 | static_cast<unsigned char>(byte);
  return value;
}

void AppendBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::optional<PixelSize> PngPixelSize(std::string_view file) {
  if (file.size() < kHeightEnd || !file.starts_with(kPngSignature) ||
      !file.substr(kPngSignature.size()).starts_with(kHeaderChunkStart)) {
    return std::nullopt;
  }
  return PixelSize{ReadBigEndian32(file.substr(kWidthAt)), ReadBigEndian32(file.substr(kHeightAt))};
}

}  // namespace velmora::face
