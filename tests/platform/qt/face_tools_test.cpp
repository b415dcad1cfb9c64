// SPDX-License-Identifier: GPL-3.0-or-later
// The context menus, drag and drop, the clipboard's pictures and the report's
// tooltip on the real window with the real window logic.

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QToolTip>
#include <QUrl>
#include <filesystem>

#include "tests/platform/qt/real_window_fixture.h"
#include "tests/platform/qt/user_gestures.h"

namespace velmora::test {
namespace {

class FaceToolsTest : public RealWindowTest {
 protected:
  static QString Base64Of(const std::string& bytes) {
    return QString::fromLatin1(QByteArray::fromStdString(bytes).toBase64());
  }

  // Opens the context menu at that point of the widget and hands its entry
  // of that caption to `act`; false when the menu has no such entry.
  bool WithMenuEntry(QWidget& widget, QPoint at, const QString& caption, std::function<void(QMenu&, QAction&)> act) {
    bool found = false;
    WhenMenuOpens([&found, caption, act = std::move(act)](QMenu& menu) {
      for (QAction* entry : menu.actions()) {
        if (entry->text() != caption) continue;
        found = true;
        return act(menu, *entry);
      }
      menu.close();
    });
    OpenContextMenu(widget, at);
    return found;
  }

  bool ChooseInFileMenu(const QString& name, const QString& caption) {
    auto* list = Find<QListWidget>("lstFile");
    const auto items = list->findItems(name, Qt::MatchExactly);
    EXPECT_EQ(items.size(), 1) << name.toStdString();
    return WithMenuEntry(*list->viewport(), list->visualItemRect(items.value(0)).center(), caption, ChooseEntry);
  }

  QWidget& CodeArea() { return *Find<QPlainTextEdit>("txt")->viewport(); }

  // The captions of the code menu's entries below its last separator, the
  // window's own, each with a "-" in front when greyed.
  QStringList WindowEntriesOfCodeMenu() {
    QStringList entries;
    WhenMenuOpens([&entries](QMenu& menu) {
      for (const QAction* entry : menu.actions()) {
        if (entry->isSeparator()) {
          entries.clear();
        } else {
          entries << (entry->isEnabled() ? "" : "-") + entry->text();
        }
      }
      menu.close();
    });
    OpenContextMenu(CodeArea(), {5, 5});
    return entries;
  }

  [[nodiscard]] QString SelectedFile() {
    const auto selected = Find<QListWidget>("lstFile")->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
  }

  static std::optional<Qt::DropAction> DropFiles(QWidget& target, const std::vector<std::string>& paths,
                                                 Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                                                 Qt::KeyboardModifiers keys = {}) {
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    QMimeData dragged;
    dragged.setUrls(urls);
    return Drop(target, dragged, offered, keys);
  }
};

TEST_F(FaceToolsTest, FitEntryOfAFileMenuWritesTheFaceThenSelectsAndEncodesIt) {
  AddFile("photo.png", MakePng(64, 64));
  ASSERT_TRUE(ChooseInFileMenu("photo.png", "Als Face anpassen"));
  ASSERT_TRUE(Eventually([this] { return Exists(pictures.Native("photo-face.png")); }));
  const std::string face = ReadBytes(pictures.Native("photo-face.png"));
  ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(face); }));
  EXPECT_EQ(SelectedFile(), "photo-face.png");
  EXPECT_TRUE(Report().startsWith(QString("48 x 48\n%1 Bytes\n").arg(face.size())));
  EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(" / ").toStdString();
}

TEST_F(FaceToolsTest, HeaderEntryOfTheCodeMenuIsGreyedWithoutACodeAndCopiesTheHeaderLine) {
  const QString caption = "Als Face-Header kopieren";
  bool enabled = true;
  ASSERT_TRUE(WithMenuEntry(CodeArea(), {5, 5}, caption, [&enabled](QMenu& menu, QAction& entry) {
    enabled = entry.isEnabled();
    menu.close();
  }));
  EXPECT_FALSE(enabled);

  const std::string png = MakePng(32, 32);
  AddFile("smile.png", png);
  ClickFile("smile.png");
  ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(png); }));
  ASSERT_TRUE(WithMenuEntry(CodeArea(), {5, 5}, caption, ChooseEntry));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Face: " + Base64Of(png));
}

TEST_F(FaceToolsTest, CodeMenuShowsTheWindowsEntriesInOrderGreyedWithoutACode) {
  EXPECT_EQ(WindowEntriesOfCodeMenu(),
            QStringList({"-Als Face-Header kopieren", "-Als gefalteten Face-Header kopieren",
                         "-Als X-Face-Header kopieren", "X-Face aus Zwischenablage einfügen",
                         "-Bild aus Zwischenablage als Face", "-Ausschnitt aus Zwischenablage als Face …"}));
  AddFile("smile.png", MakePng(32, 32));
  ClickFile("smile.png");
  ASSERT_TRUE(Eventually([this] { return !Code().isEmpty(); }));
  EXPECT_EQ(WindowEntriesOfCodeMenu(),
            QStringList({"Als Face-Header kopieren", "Als gefalteten Face-Header kopieren",
                         "Als X-Face-Header kopieren", "X-Face aus Zwischenablage einfügen",
                         "-Bild aus Zwischenablage als Face", "-Ausschnitt aus Zwischenablage als Face …"}));
}

TEST_F(FaceToolsTest, QtsOwnEntriesOfTheCodeMenuAreGermanToo) {
  EXPECT_TRUE(WithMenuEntry(CodeArea(), {5, 5}, "Alles auswählen\tStrg+A", [](QMenu& menu, QAction&) { menu.close(); }));
}

TEST_F(FaceToolsTest, PictureDroppedOntoTheCodeBoxOpensInItsFolderAndIsEncoded) {
  std::filesystem::create_directory(pictures.Native("sub"));
  const std::string png = MakePng(16, 16);
  pictures.Write("sub/inner.png", png);
  ASSERT_TRUE(DropFiles(CodeArea(), {pictures.Native("sub/inner.png")}).has_value());
  ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(png); }));
  EXPECT_EQ(SelectedFile(), "inner.png");
  EXPECT_EQ(Find<QListWidget>("lstDir")->currentItem()->text().trimmed(), "sub");
  EXPECT_TRUE(Report().startsWith("16 x 16\n"));
}

TEST_F(FaceToolsTest, TextDroppedOntoTheCodeBoxIsDecodedAsTyped) {
  const std::string png = MakePng(32, 32);
  QMimeData dragged;
  dragged.setText("Face: " + Base64Of(png));
  ASSERT_TRUE(Drop(CodeArea(), dragged).has_value());
  ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(png); }));
  EXPECT_TRUE(Report().startsWith("32 x 32\n"));
}

TEST_F(FaceToolsTest, OtherFilesAreRefusedWhereverTheyAreDropped) {
  pictures.Write("notes.txt", "t");
  AddFile("a.png", MakePng(8, 8));
  AddFile("b.png", MakePng(8, 8));
  for (QWidget* target : {&CodeArea(), Find<QListWidget>("lstFile")->viewport(), Find<QWidget>("Picture1")}) {
    SCOPED_TRACE(target->objectName().toStdString());
    EXPECT_FALSE(DropFiles(*target, {pictures.Native("notes.txt")}).has_value());
    EXPECT_FALSE(DropFiles(*target, {pictures.Native("a.png"), pictures.Native("b.png")}).has_value());
  }
  EXPECT_TRUE(Code().isEmpty());
}

// A source told that its file moved would delete it.
TEST_F(FaceToolsTest, PictureIsTakenOnlyAsACopyThoughAMoveIsAskedFor) {
  AddFile("smile.png", MakePng(8, 8));
  QWidget& list = *Find<QListWidget>("lstFile")->viewport();
  EXPECT_EQ(DropFiles(list, {pictures.Native("smile.png")}, Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier),
            Qt::CopyAction);
  EXPECT_FALSE(DropFiles(list, {pictures.Native("smile.png")}, Qt::MoveAction).has_value());
  EXPECT_TRUE(Exists(pictures.Native("smile.png")));
}

TEST_F(FaceToolsTest, PictureCopiedByAnImageEditorIsFittedIntoTheCodeBox) {
  const QString caption = "Bild aus Zwischenablage als Face";
  QImage screenshot(300, 200, QImage::Format_ARGB32);
  screenshot.fill(QColor(200, 40, 90, 128));
  QGuiApplication::clipboard()->setImage(screenshot);
  ASSERT_TRUE(WithMenuEntry(CodeArea(), {5, 5}, caption, ChooseEntry));
  ASSERT_TRUE(Eventually([this] { return Report().startsWith("48 x 48\n"); }));
  EXPECT_TRUE(Find<QPushButton>("cmdSavePic")->isEnabled());
  EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(" / ").toStdString();
}

TEST_F(FaceToolsTest, ReportToolTipNamesTheLimitsAndLeavesTheReport) {
  AddFile("small.png", MakePng(32, 32));
  ClickFile("small.png");
  ASSERT_TRUE(Eventually([this] { return !Report().isEmpty(); }));
  const QString report = Report();
  auto* label = Find<QLabel>("Label1");
  const QPoint at = label->rect().center();
  QHelpEvent rest(QEvent::ToolTip, at, label->mapToGlobal(at));
  QApplication::sendEvent(label, &rest);
  ASSERT_TRUE(QToolTip::isVisible());
  const QString shown = QToolTip::text();
  EXPECT_TRUE(shown.contains(R"(<img src="data:image/png;base64,)")) << shown.toStdString();
  EXPECT_TRUE(shown.contains("Manche Leseprogramme zeigen nur Bilder von genau 48 × 48 Pixeln.\nLinks das Bild"));
  EXPECT_EQ(Report(), report);
  QToolTip::hideText();
}

}  // namespace
}  // namespace velmora::test
