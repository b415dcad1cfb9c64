// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/png_maker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/support/temp_folder.h"

namespace velmora::test {
namespace {

void PutBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char byte : bytes) {
    crc ^= static_cast<std::uint8_t>(byte);
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return crc ^ 0xFFFFFFFFu;
}

void PutChunk(std::string& png, const std::string& type, const std::string& data) {
  PutBigEndian32(png, static_cast<std::uint32_t>(data.size()));
  const std::string typed = type + data;
  png += typed;
  PutBigEndian32(png, Crc32(typed));
}

std::string Header(std::uint32_t width, std::uint32_t height) {
  std::string header;
  PutBigEndian32(header, width);
  PutBigEndian32(header, height);
  header += std::string("\x01\x00\x00\x00\x00", 5);  // 1-bit grayscale, no interlace
  return header;
}

// A zlib stream holding the bytes in stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& raw) {
  std::string out = "\x78\x01";
  constexpr std::size_t kBlock = 65535;
  std::size_t at = 0;
  do {
    const std::size_t length = std::min(kBlock, raw.size() - at);
    const bool last = at + length == raw.size();
    out.push_back(last ? '\x01' : '\x00');
    out.push_back(static_cast<char>(length & 0xFF));
    out.push_back(static_cast<char>(length >> 8));
    out.push_back(static_cast<char>(~length & 0xFF));
    out.push_back(static_cast<char>((~length >> 8) & 0xFF));
    out.append(raw, at, length);
    at += length;
  } while (at < raw.size());
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (char byte : raw) {
    a = (a + static_cast<std::uint8_t>(byte)) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian32(out, (b << 16) | a);
  return out;
}

std::string Png(std::uint32_t width, std::uint32_t height, const std::string& imageData) {
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", Header(width, height));
  PutChunk(png, "IDAT", imageData);
  PutChunk(png, "IEND", "");
  return png;
}

constexpr std::size_t kChunkFrameBytes = 12;  // length, type, CRC
constexpr std::size_t kEndChunkBytes = kChunkFrameBytes;
const std::string kCommentKeyword("Comment\0", 8);

}  // namespace

std::string PaddedPng(const std::string& png, std::size_t fileBytes) {
  const std::size_t added = kChunkFrameBytes + kCommentKeyword.size();
  EXPECT_GE(fileBytes, png.size() + added);
  const std::size_t end = png.size() - kEndChunkBytes;
  std::string padded = png.substr(0, end);
  PutChunk(padded, "tEXt", kCommentKeyword + std::string(fileBytes - png.size() - added, ' '));
  return padded + png.substr(end);
}

std::string MakePng(std::uint32_t width, std::uint32_t height) {
  const std::size_t rowBytes = (width + 7) / 8;
  std::string raw;
  for (std::uint32_t y = 0; y < height; ++y) {
    raw.push_back('\0');  // no filter
    raw.append(rowBytes, (y % 2) ? '\x55' : '\xAA');
  }
  return Png(width, height, StoredZlib(raw));
}

std::string MakeDecompressionBomb(std::uint32_t width, std::uint32_t height) {
  return Png(width, height, StoredZlib(std::string(64, '\0')));
}

std::string PngSuiteFolder() {
  const char* data = std::getenv("VELMORA_TESTDATA");
  return std::string(data ? data : "tests/data") + "/pngsuite";
}

std::string PngSuiteFile(const std::string& name) {
  std::string bytes = ReadBytes(PngSuiteFolder() + "/" + name);
  if (bytes.empty()) ADD_FAILURE() << "no test picture " << name << " in " << PngSuiteFolder();
  return bytes;
}

}  // namespace velmora::test
