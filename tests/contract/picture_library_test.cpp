// SPDX-License-Identifier: GPL-3.0-or-later
// The picture library on Qt and the headless one of the window-logic tests
// give one verdict on every file: refused, or accepted at the same size.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_system.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_picture.h"
#include "platform/text.h"
#include "tests/support/png_maker.h"
#include "tests/support/temp_folder.h"

namespace velmora::contract {
namespace {

using test::MakeDecompressionBomb;
using test::PaddedPng;
using test::PngSuiteFile;

// The picture's size in pixels, nothing when the library refuses the file.
using Verdict = std::optional<std::pair<float, float>>;

Verdict Load(PictureLibrary& library, const std::u16string& path) {
  EXPECT_EQ(library.Startup(), kPictureOk);
  Verdict verdict;
  std::unique_ptr<Image> image;
  if (library.LoadImageFromFile(path, image) == kPictureOk) {
    float width = 0;
    float height = 0;
    EXPECT_EQ(library.GetImageDimension(*image, width, height), kPictureOk);
    verdict = {width, height};
  }
  image.reset();
  library.Shutdown();
  return verdict;
}

struct CorpusFile {
  std::string name;
  std::string path;
  bool accepted;
};

constexpr std::size_t kChunkFrameBytes = 12;  // length, type, CRC

std::size_t ChunkLength(std::string_view png, std::size_t at) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < 4; ++i) length = (length << 8) | static_cast<std::uint8_t>(png[at + i]);
  return length;
}

// Where the first chunk of that type starts.
std::size_t ChunkAt(std::string_view png, std::string_view type) {
  std::size_t at = 8;  // after the signature
  while (at + kChunkFrameBytes <= png.size() && png.substr(at + 4, 4) != type) {
    at += kChunkFrameBytes + ChunkLength(png, at);
  }
  EXPECT_LE(at + kChunkFrameBytes, png.size()) << "no " << type << " chunk";
  return at;
}

std::string WithBadCrc(std::string png, std::string_view type) {
  const std::size_t at = ChunkAt(png, type);
  png[at + kChunkFrameBytes - 1 + ChunkLength(png, at)] ^= 1;
  return png;
}

std::string CutInsideChunk(const std::string& png, std::string_view type) {
  const std::size_t at = ChunkAt(png, type);
  return png.substr(0, at + 8 + ChunkLength(png, at) / 2);  // halfway through its data
}

// A GIF of one transparent pixel.
const std::string kGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x21\xf9\x04\x01\x00\x00\x00\x00"
    "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
    43);

// Every file of the PNG suite: the names starting with x are the broken ones.
void AddPngSuite(std::vector<CorpusFile>& corpus) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(test::PngSuiteFolder())) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    corpus.push_back({name, file.string(), file.extension() == ".png" && !name.starts_with('x')});
  }
}

// A picture of one colour, encoded in that format.
std::string Encoded(int width, int height, QImage::Format pixels, const char* format) {
  QImage picture(width, height, pixels);
  picture.fill(QColor(200, 40, 90));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  EXPECT_TRUE(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, format)) << format;
  return bytes.toStdString();
}

// Damaged PNG files and pictures in other formats, all named .png.
void AddMadeFiles(std::vector<CorpusFile>& corpus, const test::TempFolder& folder) {
  const std::string png = PngSuiteFile("basn2c08.png");
  const struct {
    const char* name;
    std::string bytes;
    bool accepted;
  } made[] = {
      {"bad-crc-gamma.png", WithBadCrc(png, "gAMA"), true},
      {"bad-crc-text.png", WithBadCrc(PaddedPng(png, png.size() + 40), "tEXt"), true},
      {"end-without-crc.png", png.substr(0, png.size() - 4), true},
      {"bad-crc-data.png", WithBadCrc(png, "IDAT"), false},
      {"cut-inside-data.png", CutInsideChunk(png, "IDAT"), false},
      {"cut-before-end.png", png.substr(0, ChunkAt(png, "IEND")), false},
      {"bomb-20000.png", MakeDecompressionBomb(20000, 20000), false},  // over 128 MiB
      {"bomb-4096.png", MakeDecompressionBomb(4096, 4096), false},     // within, but short of data
      // Qt holds 16-bit samples in 8 bytes a pixel: 128 MiB and 32 KiB.
      {"sixteen-bit-4096x4097.png", Encoded(4096, 4097, QImage::Format_RGBX64, "PNG"), false},
      {"bmp.png", Encoded(8, 8, QImage::Format_RGB32, "BMP"), false},
      {"gif.png", kGif, false},
      {"jpeg.png", Encoded(8, 8, QImage::Format_RGB32, "JPEG"), false},
  };
  for (const auto& file : made) corpus.push_back({file.name, folder.Write(file.name, file.bytes), file.accepted});
}

TEST(PictureLibraries, GiveOneVerdictOnEveryFile) {
  const test::TempFolder folder;
  std::vector<CorpusFile> corpus;
  AddPngSuite(corpus);
  AddMadeFiles(corpus, folder);

  // The real window's library reads the real files; the headless one the
  // same bytes from memory.
  PosixFileSystem disk;
  headless::MemoryFileSystem memory;
  QtPictureLibrary qt(disk);
  headless::HeadlessPictureLibrary headless(memory);
  for (const CorpusFile& file : corpus) {
    SCOPED_TRACE(file.name);
    const std::u16string path = FromNativeName(file.path);
    memory.AddFile(path, test::ReadBytes(file.path));
    const Verdict onQt = Load(qt, path);
    EXPECT_EQ(onQt, Load(headless, path));
    EXPECT_EQ(onQt.has_value(), file.accepted);
  }
  EXPECT_EQ(headless.running(), 0);
  EXPECT_EQ(headless::HeadlessPictureLibrary::liveHandles(), 0);
}

}  // namespace
}  // namespace velmora::contract
