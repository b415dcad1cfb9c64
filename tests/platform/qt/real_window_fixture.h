// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real Qt window with the real window logic, started in a folder of its
// own and driven as a user would: widgets found by name, mouse clicks and
// keys through QTest, modal boxes answered as they open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/posix/system_folders.h"
#include "platform/qt/qt_platform.h"
#include "tests/support/png_maker.h"
#include "tests/support/temp_folder.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace velmora::test {

// Lets events run until the condition holds; false when it does not within
// five seconds. (QTRY_* report to QTest, which GoogleTest does not hear.)
template <class Condition>
[[nodiscard]] bool Eventually(Condition condition) {
  return QTest::qWaitFor(condition, 5000);
}

// Answers every modal box that opens: message boxes are recorded and closed
// with OK; a Save dialog goes to the test's handler. Each must belong to the
// main window, so that a compositor keeps it with the window (Wayland places
// a window without a parent anywhere).
class ModalAnswerer {
 public:
  ModalAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
    timer_.start();
  }

  std::function<void(QFileDialog&)> onSaveDialog = [](QFileDialog& dialog) { dialog.reject(); };
  QStringList messages;

 private:
  void AnswerOpenBox() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr) {
      const QWidget* parent = modal->parentWidget();
      EXPECT_TRUE(parent != nullptr && parent->window()->findChild<QListWidget*>("lstFile") != nullptr)
          << modal->metaObject()->className() << " without the main window as its parent";
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      messages << box->text();
      box->accept();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && dialog->isVisible()) {
      onSaveDialog(*dialog);
    }
  }

  QTimer timer_;
};

class RealWindowTest : public ::testing::Test {
 protected:
  RealWindowTest() : RealWindowTest(SystemVolumes()) {}

  // The drive list offers these volumes.
  explicit RealWindowTest(std::vector<Volume> volumes) {
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(pictures.path()));
    platform_ = std::make_unique<QtPlatform>(FrmBase64Table(), std::move(volumes), WorkingFolder());
    logic_ = std::make_unique<FrmBase64>(platform_->form());
    platform_->Start(*logic_);
    window_ = TopLevelWindow();
  }

  ~RealWindowTest() override {
    logic_.reset();
    platform_.reset();
    QDir::setCurrent(previousFolder_);
  }

  template <class Widget>
  Widget* Find(const char* name) {
    auto* widget = window_->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void AddFile(const std::string& name, const std::string& bytes) {
    pictures.Write(name, bytes);
    platform_->form().lstFile.Refresh();
  }

  // A mouse click on the file list's entry of that name.
  void ClickFile(const QString& name) {
    auto* list = Find<QListWidget>("lstFile");
    const auto items = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    list->scrollToItem(items[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
  }

  [[nodiscard]] QString Code() { return Find<QPlainTextEdit>("txt")->toPlainText(); }
  [[nodiscard]] QString Report() { return Find<QLabel>("Label1")->text(); }
  // What the preview box shows, as pixels.
  [[nodiscard]] QImage Preview() { return Find<QWidget>("Picture1")->grab().toImage(); }

  TempFolder pictures;
  ModalAnswerer answerer;

 private:
  static QWidget* TopLevelWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->findChild<QListWidget*>("lstFile") != nullptr) return widget;
    }
    return nullptr;
  }

  QString previousFolder_;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<FrmBase64> logic_;
  QWidget* window_ = nullptr;
};

}  // namespace velmora::test
