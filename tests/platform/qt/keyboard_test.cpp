// SPDX-License-Identifier: GPL-3.0-or-later
// The real window without a mouse: the file list followed with the arrow
// keys, and the preview box showing where the keyboard focus is.

#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

using KeyboardTest = RealWindowTest;

QString Base64Of(const std::string& bytes) { return QString::fromLatin1(QByteArray::fromStdString(bytes).toBase64()); }

TEST_F(KeyboardTest, DownArrowInTheFileListEncodesTheNextFileAndShowsItsCode) {
  const std::string first = MakePng(2, 2);
  const std::string second = MakePng(3, 5);
  AddFile("a.png", first);
  AddFile("b.png", second);
  ClickFile("a.png");
  ASSERT_TRUE(Eventually([&] { return Code() == Base64Of(first); }));

  auto* files = Find<QListWidget>("lstFile");
  QTest::keyClick(files, Qt::Key_Down);

  EXPECT_TRUE(Eventually([&] { return Code() == Base64Of(second); }));
  EXPECT_EQ(files->currentItem()->text(), "b.png");
  EXPECT_TRUE(Report().startsWith("3 x 5\n")) << Report().toStdString();
}

TEST_F(KeyboardTest, PreviewTabbedToShowsAFocusFrameAlongItsEdgeOnly) {
  AddFile("checker.png", MakePng(48, 48));
  ClickFile("checker.png");
  ASSERT_TRUE(Eventually([this] { return !Report().isEmpty(); }));
  const QImage unfocused = Preview();

  auto* preview = Find<QWidget>("Picture1");
  preview->window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(preview->window()));
  Find<QWidget>("lstDrive")->setFocus();
  for (int tabs = 0; tabs < 10 && QApplication::focusWidget() != preview; ++tabs) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  ASSERT_EQ(QApplication::focusWidget(), preview);
  const QImage focused = Preview();

  ASSERT_EQ(focused.size(), unfocused.size());
  int edgePixelsChanged = 0;
  for (int y = 0; y < focused.height(); ++y) {
    for (int x = 0; x < focused.width(); ++x) {
      const bool onEdge = x == 0 || y == 0 || x == focused.width() - 1 || y == focused.height() - 1;
      if (onEdge) {
        edgePixelsChanged += focused.pixel(x, y) != unfocused.pixel(x, y) ? 1 : 0;
      } else {
        ASSERT_EQ(focused.pixel(x, y), unfocused.pixel(x, y)) << "the picture changed at " << x << "," << y;
      }
    }
  }
  EXPECT_GT(edgePixelsChanged, focused.width()) << "no visible focus frame";
}

}  // namespace
}  // namespace velmora::test
