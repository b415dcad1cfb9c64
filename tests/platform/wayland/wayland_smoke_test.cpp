// SPDX-License-Identifier: GPL-3.0-or-later
// The real window as a Wayland client, run by on_weston.sh on a headless
// Weston: it shows every control at its fixed size and keeps its boxes with
// the main window, and the built program starts there without a word from Qt
// on standard error. (A client sets the Wayland clipboard only in answer to
// real input, which a headless compositor has none of.)

#include <QGuiApplication>
#include <QProcess>
#include <QWindow>
#include <memory>

#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

constexpr int kRunMs = 2000;

// Qt's warnings while the test runs.
class QtWarnings {
 public:
  QtWarnings() { previous_ = qInstallMessageHandler(&Record); }
  ~QtWarnings() { qInstallMessageHandler(previous_); }
  QtWarnings(const QtWarnings&) = delete;
  QtWarnings& operator=(const QtWarnings&) = delete;

  static QStringList& heard() {
    static QStringList messages;
    return messages;
  }

 private:
  static void Record(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) heard() << message;
  }

  QtMessageHandler previous_;
};

class WaylandSmokeTest : public RealWindowTest {
 protected:
  QtWarnings warnings;
};

TEST_F(WaylandSmokeTest, WindowShowsEveryControlAtItsFixedSize) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
  QWidget* window = Find<QListWidget>("lstFile")->window();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->size(), window->minimumSize());
  for (const char* name : {"lstDrive", "lstDir", "lstFile", "txt", "cmdSave", "cmdPaste", "cmdSavePic", "Command1",
                           "Label1", "Picture1"}) {
    const QWidget* control = Find<QWidget>(name);
    EXPECT_TRUE(control->isVisible()) << name;
    EXPECT_TRUE(window->rect().contains(QRect(control->mapTo(window, QPoint()), control->size()))) << name;
  }
  EXPECT_EQ(QtWarnings::heard(), QStringList());
}

// The answerer checks that each box belongs to the main window.
TEST_F(WaylandSmokeTest, MessageBoxAndSaveDialogOpenOverTheMainWindow) {
  bool dialogShown = false;
  answerer.onSaveDialog = [&dialogShown](QFileDialog& dialog) {
    dialogShown = true;
    dialog.reject();
  };
  // Inserted, not typed: Qt's Wayland input method needs a seat for key
  // events, and a headless Weston has none.
  const QString code = QString::fromLatin1(QByteArray::fromStdString(MakePng(8, 8)).toBase64());
  Find<QPlainTextEdit>("txt")->insertPlainText(code.left(40));  // a PNG's start, and no more
  EXPECT_TRUE(Eventually([&] { return !answerer.messages.isEmpty(); }));
  QTest::mouseClick(Find<QPushButton>("cmdSave"), Qt::LeftButton);
  EXPECT_TRUE(dialogShown);
  EXPECT_EQ(QtWarnings::heard(), QStringList());
}

TEST(WaylandProgram, StartsWithoutAWordOnStandardError) {
  QProcess program;
  program.setProcessChannelMode(QProcess::SeparateChannels);
  program.start(QStringLiteral(VELMORA_PROGRAM), QStringList());
  ASSERT_TRUE(program.waitForStarted());
  EXPECT_FALSE(program.waitForFinished(kRunMs)) << "ended early: " << program.readAllStandardError().toStdString();
  program.terminate();
  ASSERT_TRUE(program.waitForFinished());
  EXPECT_EQ(program.readAllStandardError().toStdString(), "");
}

}  // namespace
}  // namespace velmora::test
