// SPDX-License-Identifier: GPL-3.0-or-later
// Pasting a Face code from the real clipboard and saving through the real
// Save dialog.

#include <QClipboard>
#include <QGuiApplication>

#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

class PasteSaveTest : public RealWindowTest {
 protected:
  PasteSaveTest() : png(PngSuiteFile("basn2c08.png")), code(QString::fromLatin1(QByteArray::fromStdString(png).toBase64())) {}

  // Types a file name into the Save dialog and accepts it, as a user would.
  void SaveAs(const std::string& name) {
    answerer.onSaveDialog = [name, typed = false](QFileDialog& dialog) mutable {
      auto* nameField = dialog.findChild<QLineEdit*>("fileNameEdit");
      // Keys reach the dialog only once it is the active window.
      if (typed || nameField == nullptr || QApplication::activeWindow() != &dialog) return;
      typed = true;
      nameField->selectAll();
      QTest::keyClicks(nameField, QString::fromStdString(name));
      QTest::keyClick(nameField, Qt::Key_Return);
    };
  }

  void PasteFromClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::mouseClick(Find<QPushButton>("cmdPaste"), Qt::LeftButton);
  }

  const std::string png;
  const QString code;
};

TEST_F(PasteSaveTest, FoldedHeaderOnTheClipboardEndsAsTheBareCodeWithItsPicture) {
  const int third = static_cast<int>(code.size() / 3);
  PasteFromClipboard("Face: " + code.left(third) + "\r\n " + code.mid(third, third) + "\r\n " + code.mid(2 * third));
  ASSERT_TRUE(Eventually([this] { return Code() == code; }));
  EXPECT_TRUE(Report().startsWith("32 x 32\n"));
  EXPECT_TRUE(Find<QPushButton>("cmdSave")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("cmdSavePic")->isEnabled());
  const QImage picture = QImage(QString::fromStdString(PngSuiteFolder()) + "/basn2c08.png");
  EXPECT_EQ(QColor(Preview().pixel(5, 5)), QColor(picture.pixel(5, 5)));
  EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(PasteSaveTest, SavedPictureOfAPastedCodeIsTheOriginalFileByteForByte) {
  PasteFromClipboard(code);
  ASSERT_TRUE(Eventually([this] { return Code() == code; }));
  SaveAs(pictures.Native("again.png"));
  QTest::mouseClick(Find<QPushButton>("cmdSavePic"), Qt::LeftButton);
  ASSERT_TRUE(Eventually([this] { return Exists(pictures.Native("again.png")); }));
  EXPECT_EQ(ReadBytes(pictures.Native("again.png")), png);
}

TEST_F(PasteSaveTest, SavedCodeOfAClickedFileHoldsExactlyTheCode) {
  AddFile("smile.png", png);
  ClickFile("smile.png");
  ASSERT_TRUE(Eventually([this] { return Code() == code; }));
  SaveAs(pictures.Native("smile.txt"));
  QTest::mouseClick(Find<QPushButton>("cmdSave"), Qt::LeftButton);
  ASSERT_TRUE(Eventually([this] { return Exists(pictures.Native("smile.txt")); }));
  EXPECT_EQ(ReadBytes(pictures.Native("smile.txt")), code.toStdString());
  EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(PasteSaveTest, ClipboardWordIsRejectedWithItsMessage) {
  PasteFromClipboard("Hallo Welt");
  ASSERT_TRUE(Eventually([this] { return !answerer.messages.isEmpty(); }));
  EXPECT_EQ(answerer.messages, QStringList{"Keine gültigen Daten für ein Bild"});
  EXPECT_EQ(Code(), "HalloWelt");
  EXPECT_FALSE(Find<QPushButton>("cmdSavePic")->isEnabled());
}

}  // namespace
}  // namespace velmora::test
