// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QRectF>
#include <QRegion>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "platform/error.h"

namespace velmora {
namespace {

constexpr int kAllocationLimitMiB = 128;
constexpr PictureStatus kGenericError = 1;
constexpr int kFocusFrameWidth = 1;  // pixels

}  // namespace

PictureCanvas::PictureCanvas(QSize size) : image_(size, QImage::Format_ARGB32_Premultiplied) {
  image_.fill(Qt::transparent);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    // At a desktop scale above 100 % every picture pixel becomes a sharp
    // block of screen pixels, never a blur.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(0, 0, image_);
  }
  QFrame::paintEvent(event);
  if (hasFocus()) DrawFocusFrame();
}

void PictureCanvas::DrawFocusFrame() {
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.backgroundColor = palette().color(backgroundRole());
  // Only the edge: a style that also fills the inside would tint the picture.
  const QRect inside = rect().adjusted(kFocusFrameWidth, kFocusFrameWidth, -kFocusFrameWidth, -kFocusFrameWidth);
  painter.setClipRegion(QRegion(rect()).subtracted(inside));
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

QtPictureBox::QtPictureBox(PictureCanvas& canvas, int twipsPerPixel)
    : canvas_(canvas), context_(canvas), twipsPerPixel_(static_cast<float>(twipsPerPixel)) {}

void QtPictureBox::ClearPicture() {
  canvas_.image().fill(Qt::transparent);
  canvas_.update();
}

void QtPictureBox::SetBorderStyle(int style) {
  canvas_.setFrameStyle(style == 0 ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
}

// The painter ends with its member right after; the repaint comes later, from
// the event loop.
QtGraphics::~QtGraphics() { context_.Update(); }

PictureStatus QtPictureLibrary::LoadImageFromFile(const std::u16string& path, std::unique_ptr<Image>& image) {
  QImageReader::setAllocationLimit(kAllocationLimitMiB);
  // Read by the program's file system, which opens a name by its own bytes:
  // Qt would turn a name that is not UTF-8 into another one, and open another
  // file or none.
  std::string file;
  try {
    file = files_.ReadFile(path);
  } catch (const Error&) {
    return kGenericError;
  }
  QByteArray bytes = QByteArray::fromRawData(file.data(), static_cast<qsizetype>(file.size()));
  QBuffer buffer(&bytes);
  // PNG only, whatever the file holds: left to itself, the reader tries every
  // format it knows on the content.
  QImageReader reader(&buffer, "png");
  reader.setAutoDetectImageFormat(false);
  auto loaded = std::make_unique<QtImage>();
  if (!reader.read(&loaded->image)) return kGenericError;
  image = std::move(loaded);
  return kPictureOk;
}

PictureStatus QtPictureLibrary::GetImageDimension(const Image& image, float& width, float& height) {
  const QImage& picture = dynamic_cast<const QtImage&>(image).image;
  width = static_cast<float>(picture.width());
  height = static_cast<float>(picture.height());
  return kPictureOk;
}

PictureStatus QtPictureLibrary::CreateFromHDC(DeviceContext& hdc, std::unique_ptr<Graphics>& graphics) {
  auto created = std::make_unique<QtGraphics>(dynamic_cast<QtDeviceContext&>(hdc));
  if (!created->painter.isActive()) return kGenericError;
  graphics = std::move(created);
  return kPictureOk;
}

PictureStatus QtPictureLibrary::DrawImageRect(Graphics& graphics, const Image& image, float x, float y, float width,
                                              float height) {
  dynamic_cast<QtGraphics&>(graphics).painter.drawImage(QRectF(x, y, width, height),
                                                        dynamic_cast<const QtImage&>(image).image);
  return kPictureOk;
}

}  // namespace velmora
