#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "platform/qt/qt_platform.h"
#include "tests/contract/harness.h"
#include "window/control_table.h"

namespace velmora::contract {
namespace {

constexpr int kPollMs = 10;

class QtHarness : public Harness {
 public:
  explicit QtHarness(const HarnessSetup& setup) : platform_(FrmBase64Spec(), setup.volumes, setup.workingFolder) {}
  Form& form() override { return platform_.form(); }
  void Start(FormEvents& handlers) override { platform_.Start(handlers); }

  void ClickFileEntry(int row) override {
    auto& list = Widget<QListWidget>("lstFile");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
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

 private:
  template <class W>
  static W& Widget(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* widget = window->findChild<W*>(name)) return *widget;
    }
    throw std::runtime_error(std::string("no widget ") + name);
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
