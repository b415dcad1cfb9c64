// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file's bytes as read into a string, as the picture decoders take them.

#include <cstdint>
#include <span>
#include <string>

namespace velmora {

[[nodiscard]] inline std::span<const std::uint8_t> BytesOf(const std::string& file) {
  return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

}  // namespace velmora
