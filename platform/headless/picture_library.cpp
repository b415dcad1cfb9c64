// The headless picture library: PNG structure checks instead of decoding.

#include <array>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/headless/headless_platform.h"
#include "platform/text.h"

namespace velmora::headless {
namespace {

constexpr PictureStatus kPictureFailed = 2;  // GDI+'s InvalidParameter, as good as any
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
constexpr std::uint32_t kHeaderLength = 13;
constexpr std::uint64_t kAllocationLimitBytes = std::uint64_t{128} << 20;
constexpr std::uint64_t kBytesPerPixel = 4;

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

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

std::uint32_t Crc32(std::string_view bytes) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char byte : bytes) crc = table[(crc ^ static_cast<std::uint8_t>(byte)) & 0xFFu] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

struct PngSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// The size a well-formed PNG file declares: signature, IHDR first, every
// chunk whole with a matching CRC, image data present, IEND last. Anything
// else is no picture.
std::optional<PngSize> ReadPngStructure(std::string_view file) {
  if (!file.starts_with(kPngSignature)) return std::nullopt;
  PngSize size;
  bool sawData = false;
  std::size_t at = kPngSignature.size();
  for (bool first = true; at + 12 <= file.size(); first = false) {
    const std::uint32_t length = BigEndian32(file, at);
    if (length > file.size() - at - 12) return std::nullopt;
    const std::string_view type = file.substr(at + 4, 4);
    if (Crc32(file.substr(at + 4, 4 + length)) != BigEndian32(file, at + 8 + length)) return std::nullopt;
    if (first != (type == "IHDR")) return std::nullopt;
    if (first) {
      if (length != kHeaderLength) return std::nullopt;
      size = {BigEndian32(file, at + 8), BigEndian32(file, at + 12)};
    }
    sawData = sawData || type == "IDAT";
    at += 12 + length;
    if (type == "IEND") return sawData && size.width > 0 && size.height > 0 ? std::optional(size) : std::nullopt;
  }
  return std::nullopt;
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
  std::ifstream in(ToUtf8(path), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  const std::string file = std::move(content).str();
  const auto size = ReadPngStructure(file);
  if (!size || std::uint64_t{size->width} * size->height * kBytesPerPixel > kAllocationLimitBytes) {
    return kPictureFailed;
  }
  image = std::make_unique<HeadlessImage>(path, size->width, size->height);
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
