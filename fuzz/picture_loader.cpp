// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the Qt picture library loading any file, as the preview does
// with a decoded code or a picked file. The input goes into a file on a disk
// in memory; QtPictureLibrary::LoadImageFromFile reads it with Qt's PNG
// reader, whatever the content.
//
// Besides not crashing or hanging: a picture that loads has a size, and
// never one beyond the library's 128 MiB allocation limit.

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/headless/memory_file_system.h"
#include "platform/qt/qt_picture.h"

namespace velmora::fuzz {
namespace {

constexpr std::uint64_t kAllocationLimitBytes = std::uint64_t{128} << 20;
constexpr std::uint64_t kBytesPerPixel = 4;

// Qt's picture readers want an application object; the offscreen platform
// needs no display. It is never destroyed: Qt's own statics may already be
// gone when static objects end.
void StartQtOnce() {
  static const QGuiApplication* const application = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "picture_loader";
    static char* argv[] = {name, nullptr};
    return new QGuiApplication(argc, argv);
  }();
  Require(application != nullptr, "Qt starts");
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora::fuzz;
  StartQtOnce();
  static velmora::headless::MemoryFileSystem disk;
  const std::u16string path = u"/input.png";
  disk.AddFile(path, std::string(reinterpret_cast<const char*>(data), size));

  velmora::QtPictureLibrary library(disk);
  std::unique_ptr<velmora::Image> image;
  if (library.LoadImageFromFile(path, image) != velmora::kPictureOk) return 0;
  Require(image != nullptr, "a loaded picture is there");
  float width = 0;
  float height = 0;
  Require(library.GetImageDimension(*image, width, height) == velmora::kPictureOk, "a loaded picture has a size");
  Require(width >= 1 && height >= 1, "a loaded picture is at least 1 x 1");
  Require(static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * kBytesPerPixel <=
              kAllocationLimitBytes,
          "a loaded picture fits the allocation limit");
  return 0;
}
