// SPDX-License-Identifier: GPL-3.0-or-later
// The photo reader on Qt and the headless one of the window-logic tests read
// PNG files alike: the same verdict, the same size, and for the plain 8-bit
// files the same pixels; a picture declaring more than 50 megapixels is
// refused from its header by both.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>

#include "platform/headless/headless_picture_reader.h"
#include "platform/qt/qt_picture_reader.h"
#include "tests/support/png_maker.h"

namespace velmora::contract {
namespace {

using test::MakeDecompressionBomb;
using test::PngSuiteFile;
using test::PngSuiteFolder;

TEST(PictureReaderContract, BothReadEveryPngSuiteFileAlike) {
  QtPictureReader qt;
  headless::HeadlessPictureReader headless;
  for (const auto& entry : std::filesystem::directory_iterator(PngSuiteFolder())) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    SCOPED_TRACE(name);
    const std::string file = PngSuiteFile(name);
    const auto fromQt = qt.Read(file, 1 << 20);
    const auto fromHeadless = headless.Read(file, 1 << 20);
    ASSERT_EQ(std::holds_alternative<UprightPicture>(fromQt), std::holds_alternative<UprightPicture>(fromHeadless));
    if (!std::holds_alternative<UprightPicture>(fromQt)) continue;
    const auto& a = std::get<UprightPicture>(fromQt);
    const auto& b = std::get<UprightPicture>(fromHeadless);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    // Plain 8-bit colour files, without gamma or transparency to treat.
    if (name.starts_with("basn2c08") || name.starts_with("basn6a08") || name.starts_with("basn0g08")) {
      EXPECT_EQ(a.rgba, b.rgba);
    }
  }
}

TEST(PictureReaderContract, BothRefuseTooManyPixelsFromTheHeader) {
  QtPictureReader qt;
  headless::HeadlessPictureReader headless;
  const std::string bomb = MakeDecompressionBomb(8192, 6401);
  for (PictureReader* reader : {static_cast<PictureReader*>(&qt), static_cast<PictureReader*>(&headless)}) {
    const auto size = reader->SizeOf(bomb);
    ASSERT_TRUE(std::holds_alternative<PictureReadError>(size));
    EXPECT_EQ(std::get<PictureReadError>(size), PictureReadError::kTooManyPixels);
    const auto garbage = reader->SizeOf("not a picture");
    ASSERT_TRUE(std::holds_alternative<PictureReadError>(garbage));
    EXPECT_EQ(std::get<PictureReadError>(garbage), PictureReadError::kUnreadable);
  }
}

}  // namespace
}  // namespace velmora::contract
