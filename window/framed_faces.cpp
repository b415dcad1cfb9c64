// SPDX-License-Identifier: GPL-3.0-or-later
// Faces of a square the user frames on a photo in "Ausschnitt wählen": from
// a listed picture (the Face is written beside it, as "Als Face anpassen"
// writes it), from the clipboard's picture, and from a picture of another
// format dropped onto the window or named on the command line (the Face goes
// into the code box).

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "fit/fit_picture.h"
#include "framing/frame.h"
#include "window/frm_base64.h"
#include "window/photo_faces.h"
#include "window/hourglass.h"

namespace velmora {
namespace {

fit::Picture FitPicture(UprightPicture picture) {
  return {picture.width, picture.height, std::move(picture.rgba)};
}

// The photo read whole and its Faces prepared, the hourglass shown
// meanwhile: half a second for a 24-megapixel JPEG.
std::variant<PhotoFaces, PictureReadError> PreparedPhoto(PictureReader& reader, const std::string& picture,
                                                          Window& window) {
  const Hourglass busy(window);
  auto read = reader.Read(picture, std::numeric_limits<int>::max());
  if (const auto* error = std::get_if<PictureReadError>(&read)) return *error;
  return PhotoFaces(FitPicture(std::get<UprightPicture>(std::move(read))));
}

}  // namespace

void FrmBase64::lstFile_FrameIntoFace(int index) {
  const std::optional<std::string> picture = ReadListedFile(index);
  if (!picture) return;
  const std::optional<std::string> face = FramedFace(*picture);
  if (face) WriteAndSelectFace(index, *face);
}

void FrmBase64::txt_FrameClipboardPicture() {
  const UserAction action(*this);
  const std::optional<std::string> picture = ClipboardPicture();
  if (!picture) return;
  const std::optional<std::string> face = FramedFace(*picture);
  if (face) PasteFace(*face);
}

void FrmBase64::FrameDroppedPicture(const std::u16string& path) {
  std::string picture;
  try {
    picture = f_.Files.ReadFile(path);
  } catch (const Error& error) {
    ShowWarning(error.description());
    return;
  }
  const UserAction action(*this);
  const std::optional<std::string> face = FramedFace(picture);
  if (face) PasteFace(*face);
}

std::optional<std::string> FrmBase64::FramedFace(const std::string& picture) {
  const auto prepared = PreparedPhoto(f_.PictureFiles, picture, f_.frmBase64);
  if (const auto* error = std::get_if<PictureReadError>(&prepared)) {
    ShowWarning(std::u16string(fit::FitErrorText(
        *error == PictureReadError::kTooManyPixels ? fit::FitError::kTooManyPixels : fit::FitError::kUnreadable)));
    return std::nullopt;
  }
  const PhotoFaces& faces = std::get<PhotoFaces>(prepared);
  const framing::PictureSize size = faces.View().size;
  const std::optional<framing::Frame> frame = f_.Framing.ChooseFrame(faces.View(), framing::FirstFrame(size), faces);
  if (!frame) return std::nullopt;
  std::variant<fit::FitResult, fit::FitError> fitted;
  {
    const Hourglass busy(f_.frmBase64);
    fitted = faces.Face(*frame);
  }
  if (const auto* error = std::get_if<fit::FitError>(&fitted)) {
    ShowWarning(std::u16string(fit::FitErrorText(*error)));
    return std::nullopt;
  }
  return std::move(std::get<fit::FitResult>(fitted).png);
}

}  // namespace velmora
