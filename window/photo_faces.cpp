// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/photo_faces.h"

#include <string>
#include <utility>
#include <vector>

#include "fit/face_canvas.h"
#include "fit/png_decode.h"
#include "platform/bytes.h"
#include "xface/xface_picture.h"

namespace velmora {
namespace {

// The quick preview and the dialog work on a copy of the photo this large on
// its longer side: a frame of a tenth of it still covers more than the
// Face's pixels, and the dialog's view is sharp at 200 %.
constexpr int kQuickSide = 1536;

fit::Square SquareOf(const framing::Frame& frame, double scale) {
  return {frame.left * scale, frame.top * scale, frame.size * scale};
}

// The X-Face's pixels, 0 black and 1 white; none when there is no X-Face.
std::vector<std::uint8_t> XFacePixels(const std::string& png) {
  const auto xFace = xface::XFaceOfPng(BytesOf(png));
  const auto* chosen = std::get_if<xface::BlackAndWhiteCandidate>(&xFace);
  if (chosen == nullptr) return {};
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < xface::kXFaceSide; ++y) {
    for (int x = 0; x < xface::kXFaceSide; ++x) pixels.push_back(chosen->bitmap.IsBlack(x, y) ? 0 : 1);
  }
  return pixels;
}

}  // namespace

PhotoFaces::PhotoFaces(fit::Picture photo)
    : photo_(std::move(photo)),
      quickCopy_(fit::ReducedPicture(photo_, kQuickSide)),
      quickScale_(static_cast<double>(quickCopy_.width) / photo_.width) {}

FramedFace PhotoFaces::Quick(const framing::Frame& frame) const {
  return {fit::CroppedCanvas(quickCopy_, SquareOf(frame, quickScale_)).rgba, 0, {}};
}

FramedFace PhotoFaces::Exact(const framing::Frame& frame) const {
  const auto face = Face(frame);
  const auto* fitted = std::get_if<fit::FitResult>(&face);
  if (fitted == nullptr) return Quick(frame);
  auto decoded = fit::DecodePng(BytesOf(fitted->png));
  return {std::get<fit::Picture>(std::move(decoded)).rgba, fitted->png.size(), XFacePixels(fitted->png)};
}

std::variant<fit::FitResult, fit::FitError> PhotoFaces::Face(const framing::Frame& frame) const {
  return fit::FitSquareIntoFace(photo_, SquareOf(frame, 1.0));
}

}  // namespace velmora
