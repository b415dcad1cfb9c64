// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <algorithm>

#include <gtest/gtest.h>

#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "tests/contract/harness.h"
#include "tests/platform/qt/user_gestures.h"
#include "window/control_table.h"

namespace velmora::contract {
namespace {

constexpr int kPollMs = 10;
constexpr int kWaitMs = 5000;

using test::Drop;
using test::OpenContextMenu;
using test::WhenMenuOpens;

// What a tooltip's text shows, read as its label lays it out, and the
// picture it shows beside that.
ToolTip ToolTipOf(const QString& shown) {
  QTextDocument document;
  Qt::mightBeRichText(shown) ? document.setHtml(shown) : document.setPlainText(shown);
  ToolTip toolTip;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextCharFormat format = fragment.fragment().charFormat();
      if (!format.isImageFormat()) continue;
      const QString source = format.toImageFormat().name();
      toolTip.picture = QByteArray::fromBase64(source.section(u',', 1).toLatin1()).toStdString();
    }
  }
  QString text = document.toPlainText();
  text.remove(QChar::ObjectReplacementCharacter);
  text.replace(QChar::LineSeparator, u'\n');
  toolTip.text = text.trimmed().replace(u'\n', QStringLiteral("\r\n")).toStdU16String();
  return toolTip;
}

class QtHarness : public Harness {
 public:
  explicit QtHarness(const HarnessSetup& setup) : platform_(FrmBase64Table(), setup.volumes, setup.workingFolder) {}
  Form& form() override { return platform_.form(); }
  void Start(FormEvents& handlers) override { platform_.Start(handlers); }

  void ClickFileEntry(int row, bool withCtrl) override {
    auto& list = Widget<QListWidget>("lstFile");
    const Qt::KeyboardModifiers keys = withCtrl ? Qt::ControlModifier : Qt::NoModifier;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, keys, list.visualItemRect(list.item(row)).center());
  }

  void ClickBelowFileEntries() override {
    auto& list = Widget<QListWidget>("lstFile");
    const QRect last = list.visualItemRect(list.item(list.count() - 1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + last.height()));
  }

  void TabIntoCode() override {
    ActivateWindow();
    auto& list = Widget<QListWidget>("lstFile");
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Tab);
  }

  void ReturnFocusToCode(headless::FocusArrival arrival) override {
    switch (arrival) {
      case headless::FocusArrival::kFromAnotherControl:
        return TabIntoCode();
      case headless::FocusArrival::kWindowActivated: {
        QWidget other;
        other.show();
        other.activateWindow();
        (void)QTest::qWaitForWindowActive(&other);
        ActivateWindow();
        return;
      }
      case headless::FocusArrival::kDialogClosed:
        QTimer::singleShot(kPollMs, [] { CloseModalOnceShown(); });
        platform_.form().Messages.MsgBox(u"Hinweis", kMsgBoxOkOnly);
        QApplication::processEvents();
        return;
    }
  }

  void PressReturnOn(std::string_view button, bool keypadEnter) override {
    ActivateWindow();
    auto& pressed = Widget<QPushButton>(std::string(button).c_str());
    pressed.setFocus();
    QTest::keyClick(&pressed, keypadEnter ? Qt::Key_Enter : Qt::Key_Return,
                    keypadEnter ? Qt::KeypadModifier : Qt::NoModifier);
  }

  void PressDownInFileList() override {
    auto& list = Widget<QListWidget>("lstFile");
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
  }

  void TypeIntoCode(const std::u16string& text) override {
    auto& box = Widget<QPlainTextEdit>("txt");
    box.setFocus();
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, QString::fromStdU16String(text));
  }

  void CancelNextSaveDialog() override { RejectDialogOnceShown(); }

  void ChooseFileEntryMenu(int row) override {
    auto& list = Widget<QListWidget>("lstFile");
    WhenMenuOpens([](QMenu& menu) { test::ChooseEntry(menu, EntryCaptioned(menu, kFileEntryMenuCaption)); });
    OpenContextMenu(*list.viewport(), list.visualItemRect(list.item(row)).center());
  }

  bool CodeMenuEntryEnabled() override {
    bool enabled = false;
    WhenMenuOpens([&enabled](QMenu& menu) {
      enabled = EntryCaptioned(menu, kCodeMenuCaption).isEnabled();
      menu.close();
    });
    OpenCodeMenu();
    return enabled;
  }

  void ChooseCodeMenuEntry() override {
    WhenMenuOpens([](QMenu& menu) { test::ChooseEntry(menu, EntryCaptioned(menu, kCodeMenuCaption)); });
    OpenCodeMenu();
  }

  bool DropFiles(const std::vector<std::u16string>& paths) override {
    QList<QUrl> urls;
    // As a file manager sends it: the path's bytes, percent-encoded.
    for (const std::u16string& path : paths) {
      const QByteArray bytes = QByteArray::fromStdString(ToNativeName(path)).toPercentEncoding("/");
      urls << QUrl::fromEncoded("file://" + bytes);
    }
    QMimeData dragged;
    dragged.setUrls(urls);
    const bool taken = Drop(*Widget<QListWidget>("lstFile").viewport(), dragged).has_value();
    // The window takes a file once the drop has ended.
    QTest::qWait(kPollMs);
    return taken;
  }

  void DropTextOntoCode(const std::u16string& text) override {
    QMimeData dragged;
    dragged.setText(QString::fromStdU16String(text));
    (void)Drop(*Widget<QPlainTextEdit>("txt").viewport(), dragged);
  }

  ToolTip ReportToolTip() override {
    auto& label = Widget<QLabel>("Label1");
    const QPoint at = label.rect().center();
    QHelpEvent rest(QEvent::ToolTip, at, label.mapToGlobal(at));
    QApplication::sendEvent(&label, &rest);
    const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, kWaitMs);
    return ToolTipOf(shown);
  }

  // As a browser copies an image: the file itself, under its MIME type.
  void CopyPictureElsewhere(const std::string& png) override {
    auto* content = new QMimeData;
    content->setData(QStringLiteral("image/png"), QByteArray::fromStdString(png));
    QGuiApplication::clipboard()->setMimeData(content);
  }

  void CopyTextElsewhere(const std::u16string& text) override {
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(text));
  }

  std::u16string TextPastedElsewhere() override { return QGuiApplication::clipboard()->text().toStdU16String(); }

 private:
  template <class W>
  static W& Widget(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* widget = window->findChild<W*>(name)) return *widget;
    }
    throw std::runtime_error(std::string("no widget ") + name);
  }

  static void OpenCodeMenu() { OpenContextMenu(*Widget<QPlainTextEdit>("txt").viewport(), {5, 5}); }

  // The window's entry comes last.
  static QAction& EntryCaptioned(QMenu& menu, std::u16string_view caption) {
    const QList<QAction*> entries = menu.actions();
    const auto found = std::ranges::find(entries, QString::fromStdU16String(std::u16string(caption)), &QAction::text);
    EXPECT_NE(found, entries.end()) << "no menu entry " << ToUtf8(std::u16string(caption));
    return found == entries.end() ? *entries.last() : **found;
  }

  static void ActivateWindow() {
    QWidget* window = Widget<QListWidget>("lstFile").window();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window);
  }

  static void CloseModalOnceShown() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return QTimer::singleShot(kPollMs, [] { CloseModalOnceShown(); });
    modal->close();
  }

  static void RejectDialogOnceShown() {
    QTimer::singleShot(kPollMs, [] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return RejectDialogOnceShown();
      dialog->reject();
    });
  }

  QtPlatform platform_;
};

}  // namespace

std::unique_ptr<Harness> MakeQtHarness(const HarnessSetup& setup) { return std::make_unique<QtHarness>(setup); }

}  // namespace velmora::contract
