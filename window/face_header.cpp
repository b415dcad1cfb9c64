// What the user takes from the window to a mail program: the code as a
// header line, and which readers will not show the picture.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "preview/load_pic_box.h"
#include "window/frm_base64.h"
#include "window/png_code.h"

namespace velmora {
namespace {

using namespace std::string_view_literals;

constexpr std::u16string_view kHeaderName = u"Face: ";
constexpr char16_t kOnlyExactFaceSize[] = u"Manche Leseprogramme zeigen nur Bilder von genau 48 × 48 Pixeln.";
constexpr char16_t kWarnsAboveBytes[] = u"Ein Leseprogramm warnt bei Bilddateien über 723 Bytes.";
constexpr std::size_t kLargestUnwarnedBytes = 723;

std::u16string OnOneLine(std::u16string text) {
  std::erase_if(text, [](char16_t c) { return c == kLineBreak[0] || c == kLineBreak[1]; });
  return text;
}

struct PixelSize {
  std::uint32_t width;
  std::uint32_t height;
};

std::uint32_t BigEndian32(std::string_view bytes) {
  std::uint32_t value = 0;
  for (const char byte : bytes.substr(0, 4)) value = value << 8 | static_cast<unsigned char>(byte);
  return value;
}

// A PNG file's size from its header chunk; none for anything else.
std::optional<PixelSize> PngPixelSize(std::string_view file) {
  constexpr std::string_view kSignatureAndHeader = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"sv;
  constexpr std::size_t kHeaderEnd = kSignatureAndHeader.size() + 8;
  if (file.size() < kHeaderEnd || !file.starts_with(kSignatureAndHeader)) return std::nullopt;
  return PixelSize{BigEndian32(file.substr(kSignatureAndHeader.size())),
                   BigEndian32(file.substr(kSignatureAndHeader.size() + 4))};
}

}  // namespace

bool FrmBase64::txt_CopyHeaderAvailable() { return HasPngCodePrefix(f_.txt.Text()); }

// A mail header is one line, whatever breaks the user typed into the code.
void FrmBase64::txt_CopyHeader() { f_.Clipboard.SetText(std::u16string(kHeaderName) + OnOneLine(f_.txt.Text())); }

// While the label shows a report, the code box holds the code of the picture
// it describes; an empty label or a code that is no PNG file gives no hint.
std::u16string FrmBase64::Label1_ToolTip() {
  if (f_.Label1.Caption().empty()) return u"";
  const std::string picture = ByteStringToBytes(modBase64::DecodeBase64(f_.txt.Text()));
  const std::optional<PixelSize> size = PngPixelSize(picture);
  if (!size) return u"";
  constexpr auto kFaceSide = static_cast<std::uint32_t>(kMaxFacePixels);
  std::u16string hints;
  if (size->width != kFaceSide || size->height != kFaceSide) hints = kOnlyExactFaceSize;
  if (picture.size() > kLargestUnwarnedBytes) {
    if (!hints.empty()) hints += kLineBreak;
    hints += kWarnsAboveBytes;
  }
  return hints;
}

}  // namespace velmora
