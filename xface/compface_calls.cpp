// SPDX-License-Identifier: GPL-3.0-or-later
#include "xface/compface_calls.h"

#include <algorithm>
#include <array>
#include <mutex>

// Last and in this file only: the header has no C++ guards and defines
// macros and globals with short names (P, WORD, F, B, status, ...).
extern "C" {
#include <compface.h>
}

namespace velmora::xface {
namespace {

// Both calls work in place. The longest text either writes is a bitmap text
// of 1056 characters; the library wants at least 2 KiB.
constexpr std::size_t kBufferBytes = 4096;

std::mutex libraryTurn;

std::optional<std::string> CallInPlace(int (*call)(char*), std::string_view text) {
  std::array<char, kBufferBytes> buffer{};
  if (text.size() >= buffer.size()) return std::nullopt;
  std::copy(text.begin(), text.end(), buffer.begin());
  {
    const std::lock_guard turn(libraryTurn);
    if (call(buffer.data()) != ERR_OK) return std::nullopt;
  }
  return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
}

}  // namespace

std::optional<std::string> CompressBitmapText(std::string_view bitmapText) { return CallInPlace(compface, bitmapText); }

std::optional<std::string> UncompressCode(std::string_view code) { return CallInPlace(uncompface, code); }

}  // namespace velmora::xface
