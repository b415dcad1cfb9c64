// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libpng reading a PNG file held in memory, for the fit's decoder and the
// headless picture library alike. libpng reports an error by longjmp: the
// caller runs each libpng call that may fail under setjmp(png_jmpbuf(png()))
// and holds only plain values there. Errors and warnings print nothing; a
// read past the file's end is an error.

#include <png.h>

#include <cstdint>
#include <span>

namespace velmora {

class MemoryPngReader {
 public:
  // Throws std::bad_alloc when libpng cannot make its structs.
  explicit MemoryPngReader(std::span<const std::uint8_t> file);
  MemoryPngReader(const MemoryPngReader&) = delete;
  MemoryPngReader& operator=(const MemoryPngReader&) = delete;
  ~MemoryPngReader();

  [[nodiscard]] png_structp png() const { return png_; }
  [[nodiscard]] png_infop info() const { return info_; }

  // From now on a 4-byte read that the rest of the file cannot fill gets the
  // CRC of an end chunk, as Qt's reader answers it past the picture data: a
  // file cut inside that CRC still loads there.
  void AnswerCutEndChunkCrc() { source_.answerCutEndChunkCrc = true; }

 private:
  struct Source {
    std::span<const std::uint8_t> left;
    bool answerCutEndChunkCrc = false;
  };

  static void Read(png_structp png_ptr, png_bytep out, png_size_t count);

  Source source_;
  png_structp png_;
  png_infop info_;
};

}  // namespace velmora
