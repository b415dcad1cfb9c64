// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/header_command.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "face/face_header.h"
#include "face/face_limits.h"
#include "face/png_header.h"
#include "face/reader_hints.h"
#include "fit/fit_picture.h"
#include "fit/png_decode.h"
#include "platform/bytes.h"
#include "platform/error.h"
#include "platform/picture_reader.h"
#include "platform/text.h"
#include "preview/load_pic_box.h"

namespace velmora {
namespace {

// Says on standard error what is wrong with the picture, named by its own bytes.
class Complaint {
 public:
  Complaint(std::ostream& err, const HeaderRequest& request) : err_(err), name_(ToNativeName(request.picture)) {}

  void Warn(std::u16string_view text) const { err_ << kProgramName << ": " << name_ << ": " << ToUtf8(text) << '\n'; }
  // Warns and gives the status of a refusal.
  int Refuse(std::u16string_view text) const {
    Warn(text);
    return kStatusRefused;
  }

 private:
  std::ostream& err_;
  std::string name_;
};

std::u16string WithFitAdvice(const std::u16string& text) { return text + u" (--fit passt das Bild an)"; }

// The window's red refusal, after what is too large.
std::u16string TooLarge(const std::u16string& measure) { return WithFitAdvice(measure + u": " + kTooLargeForFace); }

std::u16string PixelSizeText(const face::PixelSize& size) {
  return DecimalText(size.width) + u" x " + DecimalText(size.height) + u" Pixel";
}

// What is wrong with a picture's size: too large, as the window flags it in
// red, or smaller or not square, which some readers do not show.
std::u16string SizeWarning(const face::PixelSize& size) {
  const auto side = static_cast<std::uint32_t>(face::kFaceSide);
  if (size.width > side || size.height > side) return TooLarge(PixelSizeText(size));
  return WithFitAdvice(PixelSizeText(size) + u": " + face::OnlyExactFaceSizeHint());
}

// Short enough and of the one size that every reader shows; a file without
// a PNG header is no Face either.
bool IsFace(const std::string& file) {
  const std::optional<face::PixelSize> size = face::PngPixelSize(file);
  return file.size() < face::kRefusedFileBytes && size && face::IsShownEverywhere(*size);
}

// The side a picture is read with, on its longer side or on the square's:
// eight times the Face's, which the area average makes 48 sharp pixels of.
constexpr int kWorkingSide = 8 * face::kFaceSide;

bool IsPng(const std::string& file) { return file.starts_with(face::kPngSignature); }

fit::FitError FitErrorOf(PictureReadError error) {
  return error == PictureReadError::kTooManyPixels ? fit::FitError::kTooManyPixels : fit::FitError::kUnreadable;
}

// A picture decoded, and its pixels per pixel of the picture at full size.
struct Decoded {
  fit::Picture picture;
  double scale;
};

// A PNG file is decoded by the fit's own decoder, exactly; any other format
// by the picture reader, turned upright and at a reduced size where the
// longer side allows.
std::variant<Decoded, fit::FitError> Decode(PictureReader& reader, const std::string& file, int longestSide) {
  if (IsPng(file)) {
    auto decoded = fit::DecodePng(BytesOf(file));
    if (const auto* error = std::get_if<fit::FitError>(&decoded)) return *error;
    return Decoded{std::get<fit::Picture>(std::move(decoded)), 1.0};
  }
  auto read = reader.Read(file, longestSide);
  if (const auto* error = std::get_if<PictureReadError>(&read)) return FitErrorOf(*error);
  UprightPicture& upright = std::get<UprightPicture>(read);
  return Decoded{fit::Picture{upright.width, upright.height, std::move(upright.rgba)}, upright.scale};
}

std::variant<UprightSize, fit::FitError> SizeOf(PictureReader& reader, const std::string& file) {
  if (IsPng(file)) {
    const std::optional<face::PixelSize> size = face::PngPixelSize(file);
    if (!size) return fit::FitError::kUnreadable;
    return UprightSize{static_cast<int>(size->width), static_cast<int>(size->height)};
  }
  const auto size = reader.SizeOf(file);
  if (const auto* error = std::get_if<PictureReadError>(&size)) return FitErrorOf(*error);
  return std::get<UprightSize>(size);
}

bool WhollyOutside(const CropSquare& square, UprightSize size) {
  return square.left >= size.width || square.top >= size.height || square.left + square.size <= 0 ||
         square.top + square.size <= 0;
}

// What the fit makes of the picture, or of the square of it.
std::variant<fit::FitResult, fit::FitError> Fit(const Decoded& decoded, const std::optional<CropSquare>& crop) {
  if (!crop) return fit::FitPictureIntoFace(decoded.picture);
  const double scale = decoded.scale;
  return fit::FitSquareIntoFace(decoded.picture, {crop->left * scale, crop->top * scale, crop->size * scale});
}

// The file made into a Face, or none after the complaint.
std::optional<std::string> Fitted(PictureReader& reader, const std::string& file,
                                  const std::optional<CropSquare>& crop, const Complaint& complaint) {
  const auto size = SizeOf(reader, file);
  if (const auto* error = std::get_if<fit::FitError>(&size)) {
    complaint.Warn(fit::FitErrorText(*error));
    return std::nullopt;
  }
  const UprightSize upright = std::get<UprightSize>(size);
  if (crop && WhollyOutside(*crop, upright)) {
    complaint.Warn(u"Das Quadrat liegt ganz außerhalb des Bildes (" + DecimalText(upright.width) + u" x " +
                   DecimalText(upright.height) + u" Pixel).");
    return std::nullopt;
  }
  const double longer = std::max(upright.width, upright.height);
  const int longestSide = static_cast<int>(std::ceil(longer * kWorkingSide / (crop ? crop->size : longer)));
  const auto decoded = Decode(reader, file, std::max(longestSide, kWorkingSide));
  if (const auto* error = std::get_if<fit::FitError>(&decoded)) {
    complaint.Warn(fit::FitErrorText(*error));
    return std::nullopt;
  }
  auto fitted = Fit(std::get<Decoded>(decoded), crop);
  if (const auto* error = std::get_if<fit::FitError>(&fitted)) {
    complaint.Warn(fit::FitErrorText(*error));
    return std::nullopt;
  }
  return std::move(std::get<fit::FitResult>(fitted).png);
}

// The PNG file whose code the header carries, or none after the complaint.
std::optional<std::string> FaceFile(FileSystem& files, PictureReader& reader, const HeaderRequest& request,
                                    const Complaint& complaint) {
  // As in the window, a file that is too long is not even read.
  const std::int64_t length = files.FileLen(request.picture);
  if (!request.fitted && std::cmp_greater_equal(length, face::kRefusedFileBytes)) {
    complaint.Warn(TooLarge(DecimalText(length) + u" Bytes"));
    return std::nullopt;
  }
  std::string file = files.ReadFile(request.picture);
  if (request.fitted && (request.crop || !IsFace(file))) return Fitted(reader, file, request.crop, complaint);
  // The file goes out as it is, but only a picture that decodes.
  if (const auto decoded = fit::DecodePng(BytesOf(file)); const auto* error = std::get_if<fit::FitError>(&decoded)) {
    complaint.Warn(fit::FitErrorText(*error));
    return std::nullopt;
  }
  // As the window does, a picture of another size is encoded all the same.
  if (const face::PixelSize size = *face::PngPixelSize(file); !face::IsShownEverywhere(size)) {
    complaint.Warn(SizeWarning(size));
  }
  return file;
}

// False when the lines could not be written.
bool PrintLines(std::ostream& out, const std::string& file, bool folded) {
  const std::u16string code = modBase64::EncodeBase64(BytesToByteString(BytesOf(file)));
  const std::vector<std::u16string> lines =
      folded ? face::FoldedHeaderLines(code) : std::vector<std::u16string>{face::HeaderLine(code)};
  for (const std::u16string& line : lines) out << ToUtf8(line) << '\n';
  return static_cast<bool>(out.flush());
}

}  // namespace

int PrintHeader(FileSystem& files, PictureReader& reader, const HeaderRequest& request, std::ostream& out,
                std::ostream& err) {
  const Complaint complaint(err, request);
  try {
    const std::optional<std::string> face = FaceFile(files, reader, request, complaint);
    if (!face) return kStatusRefused;
    if (PrintLines(out, *face, request.folded)) return kStatusDone;
    err << kProgramName << ": " << ToUtf8(DescriptionOf(kErrDeviceIo)) << '\n';
    return kStatusRefused;
  } catch (const Error& error) {
    return complaint.Refuse(error.description());
  } catch (const std::bad_alloc&) {
    return complaint.Refuse(DescriptionOf(kErrOutOfMemory));
  }
}

}  // namespace velmora
