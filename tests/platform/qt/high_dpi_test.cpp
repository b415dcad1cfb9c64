// SPDX-License-Identifier: GPL-3.0-or-later
// The real window at the desktop's scale factor. ctest runs these tests at
// 100 % with the other window tests and again with QT_SCALE_FACTOR 1.5 and 2:
// the fixed layout keeps room for its texts, and the preview shows every
// picture pixel as a sharp block of screen pixels, never blurred.

#include <QBuffer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <cmath>

#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

using HighDpiTest = RealWindowTest;

// Every pixel a colour of its own, so that any blending of neighbours shows.
QImage DistinctColours(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixelColor(x, y, QColor(20 + 30 * x, 20 + 30 * y, 200));
  }
  return picture;
}

std::string PngBytes(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes.toStdString();
}

// The picture's columns (or rows) that a screen pixel overlaps at that ratio.
std::pair<int, int> Overlapped(int screenPixel, qreal ratio) {
  const auto first = static_cast<int>(std::floor(screenPixel / ratio));
  const auto last = static_cast<int>(std::ceil((screenPixel + 1) / ratio)) - 1;
  return {first, last};
}

TEST_F(HighDpiTest, PreviewShowsEachPicturePixelAsASharpBlock) {
  const QImage picture = DistinctColours(8, 8);
  AddFile("colours.png", PngBytes(picture));
  ClickFile("colours.png");
  ASSERT_TRUE(Eventually([this] { return Report().startsWith("8 x 8\n"); }));

  const QPixmap grabbed = Find<QWidget>("Picture1")->grab();
  const qreal ratio = grabbed.devicePixelRatio();
  const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
  const int span = static_cast<int>(std::floor(picture.width() * ratio));
  ASSERT_GE(shown.width(), span);
  for (int y = 0; y < span; ++y) {
    for (int x = 0; x < span; ++x) {
      const auto [left, right] = Overlapped(x, ratio);
      const auto [top, bottom] = Overlapped(y, ratio);
      bool fromOnePixel = false;
      for (int sy = top; sy <= bottom; ++sy) {
        for (int sx = left; sx <= right; ++sx) fromOnePixel = fromOnePixel || shown.pixel(x, y) == picture.pixel(sx, sy);
      }
      ASSERT_TRUE(fromOnePixel) << "screen pixel " << x << "," << y << " at ratio " << ratio << " is a blend";
    }
  }
}

TEST_F(HighDpiTest, LabelAndCaptionsKeepRoomForTheirTexts) {
  AddFile("small.png", MakePng(4, 4));
  ClickFile("small.png");
  ASSERT_TRUE(Eventually([this] { return !Report().isEmpty(); }));

  auto* label = Find<QLabel>("Label1");
  const QRect room = label->contentsRect();
  const QRect report = label->fontMetrics().boundingRect(room, Qt::AlignHCenter | Qt::TextWordWrap, Report());
  EXPECT_LE(report.height(), room.height()) << Report().toStdString();
  EXPECT_LE(report.width(), room.width()) << Report().toStdString();

  for (const char* name : {"cmdSave", "cmdPaste", "cmdSavePic", "Command1"}) {
    auto* button = Find<QPushButton>(name);
    EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width()) << name;
  }
  auto* frame = Find<QGroupBox>("Frame2");
  EXPECT_LT(frame->fontMetrics().horizontalAdvance(frame->title()), frame->width());
}

TEST_F(HighDpiTest, WindowIconHasADrawnFormForEveryCommonSize) {
  // 32 pixels at 150 % take the 48-pixel drawing instead of a blurred 32.
  const QList<QSize> sizes = Find<QWidget>("Picture1")->window()->windowIcon().availableSizes();
  for (const int size : {16, 32, 48, 64, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

}  // namespace
}  // namespace velmora::test
