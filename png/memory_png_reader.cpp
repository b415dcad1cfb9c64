// SPDX-License-Identifier: GPL-3.0-or-later
#include "png/memory_png_reader.h"

#include <array>
#include <cstring>
#include <new>

namespace velmora {
namespace {

// The CRC of every end chunk, which holds no data.
constexpr std::array<png_byte, 4> kEndChunkCrc = {0xAE, 0x42, 0x60, 0x82};

[[noreturn]] void LeaveQuietly(png_structp png_ptr, png_const_charp /*message*/) { png_longjmp(png_ptr, 1); }
void IgnoreWarning(png_structp /*png_ptr*/, png_const_charp /*message*/) {}

}  // namespace

MemoryPngReader::MemoryPngReader(std::span<const std::uint8_t> file)
    : source_{file},
      png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, LeaveQuietly, IgnoreWarning)),
      info_(png_ ? png_create_info_struct(png_) : nullptr) {
  if (info_ == nullptr) {
    png_destroy_read_struct(&png_, nullptr, nullptr);
    throw std::bad_alloc();
  }
  png_set_read_fn(png_, &source_, Read);
}

MemoryPngReader::~MemoryPngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }

// libpng calls this from C; png_error leaves by longjmp, so nothing here may
// own a resource.
void MemoryPngReader::Read(png_structp png_ptr, png_bytep out, png_size_t count) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png_ptr));
  if (source->answerCutEndChunkCrc && count == kEndChunkCrc.size() && source->left.size() < count) {
    std::memcpy(out, kEndChunkCrc.data(), count);
    source->left = {};
    return;
  }
  if (count > source->left.size()) png_error(png_ptr, "file ends early");
  std::memcpy(out, source->left.data(), count);
  source->left = source->left.subspan(count);
}

}  // namespace velmora
