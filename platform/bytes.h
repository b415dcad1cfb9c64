// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file's bytes, held in a string as files are read, seen as the unsigned
// bytes that the code page and the picture decoders take.

#include <cstdint>
#include <span>
#include <string>

namespace velmora {

[[nodiscard]] inline std::span<const std::uint8_t> BytesOf(const std::string& file) {
  return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

}  // namespace velmora
