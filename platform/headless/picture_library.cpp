// SPDX-License-Identifier: GPL-3.0-or-later
// The headless picture library: libpng decodes the file in memory with the
// settings Qt's PNG reader gives it and under the same 128 MiB limit, so that
// it refuses exactly the files the real window refuses. The pixels are
// dropped row by row.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/bytes.h"
#include "platform/error.h"
#include "platform/headless/headless_platform.h"
#include "png/memory_png_reader.h"

namespace velmora::headless {
namespace {

constexpr PictureStatus kPictureFailed = 2;  // GDI+'s InvalidParameter, as good as any
constexpr std::uint64_t kAllocationLimitBytes = std::uint64_t{128} << 20;

int liveHandleCount = 0;

// Counts itself among the live handles while it exists.
struct CountedHandle {
  CountedHandle() { ++liveHandleCount; }
  CountedHandle(const CountedHandle&) = delete;
  CountedHandle& operator=(const CountedHandle&) = delete;
  ~CountedHandle() { --liveHandleCount; }
};

struct HeadlessImage : Image, CountedHandle {
  HeadlessImage(std::u16string path, std::uint32_t w, std::uint32_t h) : source(std::move(path)), width(w), height(h) {}
  std::u16string source;
  std::uint32_t width;
  std::uint32_t height;
};

struct HeadlessGraphics : Graphics, CountedHandle {
  explicit HeadlessGraphics(HeadlessPictureBox& target) : box(target) {}
  HeadlessPictureBox& box;
};

struct PngLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint64_t pictureBytes = 0;  // as Qt's allocation limit counts them
  int passes = 1;
  std::size_t rowBytes = 0;
};

// Qt holds a picture of 16-bit samples in 8 bytes a pixel, except plain grey,
// and any other in at most 4; its allocation limit counts at least 4.
std::uint64_t BytesPerPixel(png_structp png, png_infop info) {
  const bool plainGrey =
      png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY && png_get_valid(png, info, PNG_INFO_tRNS) == 0;
  return png_get_bit_depth(png, info) == 16 && !plainGrey ? 8 : 4;
}

// The phases below run under libpng's setjmp, so they hold only plain
// values; the caller owns everything that must be freed.
std::optional<PngLayout> ReadHeader(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return std::nullopt;
  png_read_info(png, info);
  PngLayout layout;
  layout.width = png_get_image_width(png, info);
  layout.height = png_get_image_height(png, info);
  layout.pictureBytes = std::uint64_t{layout.width} * layout.height * BytesPerPixel(png, info);
  layout.passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  layout.rowBytes = png_get_rowbytes(png, info);
  return layout;
}

// Every row of every pass into the one row, then the chunks after the
// picture data up to the end chunk.
bool ReadRowsAndEnd(MemoryPngReader& reader, const PngLayout& layout, png_bytep row) {
  png_structp png = reader.png();
  if (setjmp(png_jmpbuf(png))) return false;
  for (int pass = 0; pass < layout.passes; ++pass) {
    for (std::uint32_t y = 0; y < layout.height; ++y) png_read_row(png, row, nullptr);
  }
  reader.AnswerCutEndChunkCrc();
  png_read_end(png, nullptr);
  return true;
}

// The picture's layout when libpng decodes the whole file and the picture
// takes at most 128 MiB, which is checked before decoding.
std::optional<PngLayout> DecodePng(const std::string& file) {
  MemoryPngReader reader(BytesOf(file));
  // As Qt does: streams whose zlib header claims too small a window still
  // inflate.
  png_set_option(reader.png(), PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);
  const auto layout = ReadHeader(reader.png(), reader.info());
  if (!layout || layout->pictureBytes > kAllocationLimitBytes) return std::nullopt;
  std::vector<png_byte> row(layout->rowBytes);
  if (!ReadRowsAndEnd(reader, *layout, row.data())) return std::nullopt;
  return layout;
}

}  // namespace

int HeadlessPictureLibrary::liveHandles() { return liveHandleCount; }

PictureStatus HeadlessPictureLibrary::Startup() {
  if (Fails(Step::kStartup)) return kPictureFailed;
  ++running_;
  return kPictureOk;
}

void HeadlessPictureLibrary::Shutdown() { --running_; }

PictureStatus HeadlessPictureLibrary::LoadImageFromFile(const std::u16string& path, std::unique_ptr<Image>& image) {
  if (Fails(Step::kLoad)) return kPictureFailed;
  std::string file;
  try {
    file = files_.ReadFile(path);
  } catch (const Error&) {
    return kPictureFailed;
  }
  const auto layout = DecodePng(file);
  if (!layout) return kPictureFailed;
  image = std::make_unique<HeadlessImage>(path, layout->width, layout->height);
  return kPictureOk;
}

PictureStatus HeadlessPictureLibrary::GetImageDimension(const Image& image, float& width, float& height) {
  if (Fails(Step::kDimensions)) return kPictureFailed;
  const auto& picture = static_cast<const HeadlessImage&>(image);
  width = static_cast<float>(picture.width);
  height = static_cast<float>(picture.height);
  return kPictureOk;
}

PictureStatus HeadlessPictureLibrary::CreateFromHDC(DeviceContext& hdc, std::unique_ptr<Graphics>& graphics) {
  auto* box = dynamic_cast<HeadlessPictureBox*>(&hdc);
  if (Fails(Step::kGraphics) || box == nullptr) return kPictureFailed;
  graphics = std::make_unique<HeadlessGraphics>(*box);
  return kPictureOk;
}

PictureStatus HeadlessPictureLibrary::DrawImageRect(Graphics& graphics, const Image& image, float /*x*/,
                                                    float /*y*/, float width, float height) {
  if (Fails(Step::kDraw)) return kPictureFailed;
  const auto& picture = static_cast<const HeadlessImage&>(image);
  static_cast<HeadlessGraphics&>(graphics).box.Draw(
      {picture.source, static_cast<int>(width), static_cast<int>(height)});
  return kPictureOk;
}

}  // namespace velmora::headless
