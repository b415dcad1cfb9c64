// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile input through the real window: every picture of the PNG suite on
// the real clipboard and through the real Save dialog, a huge clipboard,
// texts no code page holds, decompression bombs, a file that vanishes after
// listing and a crowded folder. Clicking every suite picture is EncodeTest's
// part.

#include <QClipboard>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <filesystem>
#include <iostream>

#include "codec/code_page.h"
#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

const QString kInvalidCode = QStringLiteral("Keine gültigen Daten für ein Bild");
const QString kCannotOpen = QStringLiteral("Bitmap kann nicht geöffnet werden");
constexpr std::size_t kMaxFaceFileBytes = 726;

QString Base64Of(const std::string& bytes) { return QString::fromLatin1(QByteArray::fromStdString(bytes).toBase64()); }

class HostileInputTest : public RealWindowTest {
 protected:
  void PasteFromClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::mouseClick(Find<QPushButton>("cmdPaste"), Qt::LeftButton);
  }

  // Clicks the button and types the file name into the Save dialog that
  // opens, as a user would; returns the bytes saved.
  std::string SaveThroughDialog(const char* button, const std::string& name) {
    const std::string path = pictures.Native(name);
    answerer.onSaveDialog = [path, typed = false](QFileDialog& dialog) mutable {
      auto* nameField = dialog.findChild<QLineEdit*>("fileNameEdit");
      // Keys reach the dialog only once it is the active window.
      if (typed || nameField == nullptr || QApplication::activeWindow() != &dialog) return;
      typed = true;
      nameField->selectAll();
      QTest::keyClicks(nameField, QString::fromStdString(path));
      QTest::keyClick(nameField, Qt::Key_Return);
    };
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    EXPECT_TRUE(Eventually([&] { return Exists(path); })) << "nothing saved as " << name;
    std::string bytes = ReadBytes(path);
    std::filesystem::remove(path);
    return bytes;
  }

  // Types the text into the emptied code box, as a keyboard paste would.
  void TypeIntoCodeBox(const QString& text) {
    auto* box = Find<QPlainTextEdit>("txt");
    box->clear();
    box->insertPlainText(text);
  }

  // Every message shown since the last look is one of these; forgets them.
  void ExpectOnlyMessagesAmong(const QStringList& allowed) {
    for (const QString& message : answerer.messages) EXPECT_TRUE(allowed.contains(message)) << message.toStdString();
    answerer.messages.clear();
  }

  // Opens a folder that the folder list shows, with Enter.
  void OpenFolderEntry(const QString& label) {
    auto* list = Find<QListWidget>("lstDir");
    for (int row = 0; row < list->count(); ++row) {
      if (list->item(row)->text().trimmed() != label) continue;
      list->setCurrentRow(row);
      QTest::keyClick(list, Qt::Key_Return);
      return;
    }
    ADD_FAILURE() << "no folder entry " << label.toStdString();
  }
};

TEST_F(HostileInputTest, EverySuitePictureIsPastedFromTheClipboardAndSavedByteForByte) {
  QDirIterator suite(QString::fromStdString(PngSuiteFolder()), {"*.png"}, QDir::Files);
  int saved = 0;
  while (suite.hasNext()) {
    const QString name = QFileInfo(suite.next()).fileName();
    SCOPED_TRACE(name.toStdString());
    const std::string bytes = PngSuiteFile(name.toStdString());
    const QString code = Base64Of(bytes);
    const QStringList allowed = name.startsWith('x') ? QStringList{kInvalidCode, kCannotOpen} : QStringList{};
    PasteFromClipboard(code);
    ASSERT_TRUE(Eventually([&] { return Code() == code; }));
    ExpectOnlyMessagesAmong(allowed);
    if (!Find<QPushButton>("cmdSavePic")->isEnabled()) {
      // Refused as no PNG at all: typed instead, a code can always be saved.
      ASSERT_TRUE(name.startsWith('x'));
      TypeIntoCodeBox(code);
      ExpectOnlyMessagesAmong(allowed);
    }
    EXPECT_EQ(SaveThroughDialog("cmdSavePic", "Face-pic.png"), bytes);
    EXPECT_TRUE(answerer.messages.isEmpty());
    ++saved;
  }
  EXPECT_GT(saved, 150);
  std::cout << "[ hostile  ] real window: suite pictures pasted and saved " << saved << '\n';
}

// The real text box lays out one long line at about a second per mebibyte
// (Qt's text layout, measured on 2 cores), so the code that cleaning joins
// into one line is 1 MiB here; the logic takes a 10 MiB code in the headless
// HostileInputTest. The 10 MiB of short lines here are joined as well, but
// into no code.
TEST_F(HostileInputTest, TenMebibytesOfTextInShortLinesAreRefusedAndAMebibyteCodeDecoded) {
  QString lines;
  lines.reserve(10 << 20);
  while (lines.size() < (10 << 20)) lines += QString(75, u'#') + '\n';
  QElapsedTimer timer;
  timer.start();
  PasteFromClipboard(lines);
  ASSERT_TRUE(Eventually([&] { return !answerer.messages.isEmpty(); }));
  std::cout << "[ hostile  ] real window: 10 MiB of short lines refused in " << timer.elapsed() << " ms\n";
  EXPECT_EQ(answerer.messages, QStringList{kInvalidCode});
  EXPECT_EQ(Code().size(), lines.size() - lines.count('\n'));
  answerer.messages.clear();

  const QString code = Base64Of(MakePng(1000, 6300));
  ASSERT_GE(code.size(), 1 << 20);
  QString folded = "Face: " + code.left(76);
  for (qsizetype at = 76; at < code.size(); at += 76) folded += "\r\n " + code.mid(at, 76);
  timer.restart();
  PasteFromClipboard(folded);
  ASSERT_TRUE(Eventually([&] { return Code() == code; }));
  std::cout << "[ hostile  ] real window: 1 MiB folded code pasted in " << timer.elapsed() << " ms\n";
  EXPECT_TRUE(Report().startsWith("1000 x 6300\n"));
  EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(HostileInputTest, NulLoneSurrogatesAndWideCharactersArePastedAndSavedAsTheCodePageWrites) {
  const QString code = Base64Of(MakePng(8, 8));
  const QString odd[] = {
      QString("iVBOR") + QChar(u'\0') + "w0K",
      code + QChar(u'\0') + "tail",
      code + QChar(char16_t{0xD800}),
      QChar(char16_t{0xDC00}) + code,
      code.left(30) + QString::fromUtf8("\u20AC\u4E2D\U0001F600") + code.mid(30),
  };
  for (const QString& text : odd) {
    SCOPED_TRACE(text.left(12).toStdString());
    PasteFromClipboard(text);
    ASSERT_TRUE(Eventually([&] { return Code() == text; }));
    ExpectOnlyMessagesAmong({kInvalidCode, kCannotOpen});
    // Typed, the text can be saved whether the paste was taken or not.
    TypeIntoCodeBox(text);
    ExpectOnlyMessagesAmong({kCannotOpen});
    EXPECT_EQ(SaveThroughDialog("cmdSave", "odd.txt"), ByteStringToBytes(text.toStdU16String()));
    EXPECT_TRUE(answerer.messages.isEmpty());
  }
}

TEST_F(HostileInputTest, DecompressionBombsUnder726BytesAreRefusedWhetherClickedOrPasted) {
  for (const auto& [width, height] : {std::pair{20000u, 20000u}, std::pair{1000u, 60000u}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    const std::string bomb = MakeDecompressionBomb(width, height);
    ASSERT_LT(bomb.size(), kMaxFaceFileBytes);
    QElapsedTimer timer;
    timer.start();
    AddFile("bomb.png", bomb);
    ClickFile("bomb.png");
    ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(bomb); }));
    PasteFromClipboard(Base64Of(bomb));
    std::cout << "[ hostile  ] real window: bomb " << width << " x " << height << " clicked and pasted in "
              << timer.elapsed() << " ms\n";
    EXPECT_FALSE(answerer.messages.isEmpty());
    ExpectOnlyMessagesAmong({kCannotOpen, kInvalidCode});
  }
}

TEST_F(HostileInputTest, FileThatVanishesBetweenListingAndClickIsReported) {
  AddFile("gone.png", MakePng(8, 8));
  std::filesystem::remove(pictures.Native("gone.png"));
  ClickFile("gone.png");
  ASSERT_TRUE(Eventually([this] { return !answerer.messages.isEmpty(); }));
  EXPECT_EQ(answerer.messages, QStringList{"Datei nicht gefunden"});
  EXPECT_EQ(Code(), "");
}

TEST_F(HostileInputTest, FolderOfFiveThousandPicturesIsListedAndItsLastEntryLoads) {
  constexpr int kPictures = 5000;
  const std::string png = MakePng(8, 8);
  pictures.WriteCrowd("crowd", png, kPictures);
  QElapsedTimer timer;
  timer.start();
  // Up and back down, so that the folder list reads the new folder.
  const std::filesystem::path shown(pictures.path());
  OpenFolderEntry(QString::fromStdString(shown.parent_path().filename().string()));
  OpenFolderEntry(QString::fromStdString(shown.filename().string()));
  OpenFolderEntry("crowd");
  auto* files = Find<QListWidget>("lstFile");
  ASSERT_TRUE(Eventually([&] { return files->count() == kPictures; }));
  ClickFile("face14999.png");
  ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(png); }));
  std::cout << "[ hostile  ] real window: 5000 pictures listed and the last loaded in " << timer.elapsed() << " ms\n";
  EXPECT_TRUE(answerer.messages.isEmpty());
}

}  // namespace
}  // namespace velmora::test
