// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture box and the picture library: the box keeps its picture in a
// persistent image, into which the library's graphics draw.

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <memory>
#include <string>

#include "platform/controls.h"
#include "platform/file_system.h"
#include "platform/qt/qt_control.h"
#include "platform/services.h"

namespace velmora {

// Shows its image unscaled at its top-left corner, over the window's
// background where the image is transparent; with the keyboard focus, the
// style's focus frame along its edge.
class PictureCanvas final : public QFrame {
 public:
  explicit PictureCanvas(QSize size);
  [[nodiscard]] QImage& image() { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawFocusFrame();

  QImage image_;
};

class QtDeviceContext final : public DeviceContext {
 public:
  explicit QtDeviceContext(PictureCanvas& canvas) : canvas_(canvas) {}
  [[nodiscard]] QImage& image() { return canvas_.image(); }
  // Repaints the canvas from its image.
  void Update() { canvas_.update(); }

 private:
  PictureCanvas& canvas_;
};

class QtPictureBox final : public PictureBox, public QtControl {
 public:
  QtPictureBox(PictureCanvas& canvas, int twipsPerPixel);
  void ClearPicture() override;
  // The picture always persists in the canvas's image.
  void SetAutoRedraw(bool /*autoRedraw*/) override {}
  void SetBorderStyle(int style) override;
  [[nodiscard]] DeviceContext& hDC() override { return context_; }
  [[nodiscard]] float ScaleX(float pixels) const override { return pixels * twipsPerPixel_; }
  [[nodiscard]] float ScaleY(float pixels) const override { return pixels * twipsPerPixel_; }
  void SetFocus() override { canvas_.setFocus(); }

 private:
  PictureCanvas& canvas_;
  QtDeviceContext context_;
  float twipsPerPixel_;
};

class QtImage final : public Image {
 public:
  QImage image;
};

// Paints into a picture box's image; the box repaints when it is released.
class QtGraphics final : public Graphics {
 public:
  explicit QtGraphics(QtDeviceContext& context) : painter(&context.image()), context_(context) {}
  QtGraphics(const QtGraphics&) = delete;
  QtGraphics& operator=(const QtGraphics&) = delete;
  ~QtGraphics() override;

  QPainter painter;

 private:
  QtDeviceContext& context_;
};

class QtPictureLibrary final : public PictureLibrary {
 public:
  // Pictures are read through that file system.
  explicit QtPictureLibrary(FileSystem& files) : files_(files) {}
  PictureStatus Startup() override { return kPictureOk; }
  void Shutdown() override {}
  // Refuses, before decoding, a picture that would take more than 128 MiB.
  PictureStatus LoadImageFromFile(const std::u16string& path, std::unique_ptr<Image>& image) override;
  PictureStatus GetImageDimension(const Image& image, float& width, float& height) override;
  PictureStatus CreateFromHDC(DeviceContext& hdc, std::unique_ptr<Graphics>& graphics) override;
  // Exact pixels: a picture drawn at its own size is copied, not smoothed.
  PictureStatus DrawImageRect(Graphics& graphics, const Image& image, float x, float y, float width,
                              float height) override;

 private:
  FileSystem& files_;
};

}  // namespace velmora
