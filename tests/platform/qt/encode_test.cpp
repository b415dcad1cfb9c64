// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding picture files through the real window, with the PNG suite.

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>

#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

using EncodeTest = RealWindowTest;

QString Base64Of(const std::string& bytes) {
  return QString::fromLatin1(QByteArray::fromStdString(bytes).toBase64());
}

QStringList SuiteNames(const QString& pattern) {
  const QStringList names =
      QDir(QString::fromStdString(PngSuiteFolder())).entryList({pattern}, QDir::Files, QDir::Name);
  EXPECT_FALSE(names.isEmpty()) << "no test pictures " << pattern.toStdString();
  return names;
}

TEST_F(EncodeTest, EveryPictureOfTheSuiteIsEncodedDrawnAndReported) {
  for (const QString& name : SuiteNames("[!x]*.png")) {
    SCOPED_TRACE(name.toStdString());
    const std::string bytes = PngSuiteFile(name.toStdString());
    AddFile(name.toStdString(), bytes);
    ClickFile(name);
    if (bytes.size() >= 726) {
      EXPECT_TRUE(Eventually([this] { return Code().isEmpty(); }));
      EXPECT_TRUE(Report().endsWith("Die Datei ist zu groß für die Verwendung als Face!"));
      continue;
    }
    ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(bytes); }));
    const QImage picture(QString::fromStdString(PngSuiteFolder()) + "/" + name);
    const QString expected = QString("%1 x %2\n%3 Bytes\n\nFace Size: \n%4 Zeichen")
                                 .arg(picture.width())
                                 .arg(picture.height())
                                 .arg(bytes.size())
                                 .arg(Base64Of(bytes).size());
    EXPECT_EQ(Report().toStdString(), expected.toStdString());
  }
  EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(" / ").toStdString();
}

TEST_F(EncodeTest, PreviewShowsThePicturesOwnPixelsUnscaled) {
  for (const char* name : {"basn2c08.png", "basi2c16.png", "basn0g16.png", "basn3p04.png"}) {
    SCOPED_TRACE(name);
    AddFile(name, PngSuiteFile(name));
    ClickFile(name);
    ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(PngSuiteFile(name)); }));
    const QImage picture = QImage(QString::fromStdString(PngSuiteFolder()) + "/" + name)
                               .convertToFormat(QImage::Format_RGB32);
    const QImage shown = Preview().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shown.width(), picture.width());
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) ASSERT_EQ(shown.pixel(x, y), picture.pixel(x, y)) << x << "," << y;
    }
  }
}

TEST_F(EncodeTest, CorruptFilesWarnAndLeaveTheCode) {
  for (const QString& name : SuiteNames("x*.png")) {
    SCOPED_TRACE(name.toStdString());
    answerer.messages.clear();
    const std::string bytes = PngSuiteFile(name.toStdString());
    AddFile(name.toStdString(), bytes);
    ClickFile(name);
    EXPECT_TRUE(Eventually([this] { return !answerer.messages.isEmpty(); }));
    EXPECT_EQ(answerer.messages, QStringList{"Bitmap kann nicht geöffnet werden"});
    EXPECT_EQ(Code(), Base64Of(bytes));
  }
}

TEST_F(EncodeTest, LargePictureIsDrawnWithRedNotice) {
  AddFile("big.png", MakePng(64, 64));
  ClickFile("big.png");
  ASSERT_TRUE(Eventually([this] { return !Report().isEmpty(); }));
  EXPECT_EQ(Report(), QString("64 x 64\nDie Datei ist zu groß für die Verwendung als Face!"));
  EXPECT_EQ(Find<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(Find<QPushButton>("cmdSavePic")->isEnabled());
  const QImage shown = Preview();
  EXPECT_EQ(QColor(shown.pixel(0, 0)), QColor(Qt::white));  // the checkerboard's first squares
  EXPECT_EQ(QColor(shown.pixel(1, 0)), QColor(Qt::black));
}

TEST_F(EncodeTest, SmallFileDeclaringAHugePictureIsRefusedQuickly) {
  const std::string bomb = MakeDecompressionBomb(20000, 20000);
  ASSERT_LT(bomb.size(), 726u);
  AddFile("bomb.png", bomb);
  QElapsedTimer timer;
  timer.start();
  ClickFile("bomb.png");
  EXPECT_TRUE(Eventually([this] { return !answerer.messages.isEmpty(); }));
  EXPECT_EQ(answerer.messages, QStringList{"Bitmap kann nicht geöffnet werden"});
  EXPECT_LT(timer.elapsed(), 2000);
}

}  // namespace
}  // namespace velmora::test
