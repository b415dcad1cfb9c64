// SPDX-License-Identifier: GPL-3.0-or-later
// The context menus of the real window opened from the keyboard, with
// Shift+F10 and with the Menu key: at the caret or the current entry, with
// their entries in the accessibility tree a screen reader walks, the first
// one active.

#include <QAccessible>
#include <QCursor>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

#include "tests/platform/qt/accessible_tree.h"
#include "tests/platform/qt/real_window_fixture.h"
#include "tests/platform/qt/user_gestures.h"

namespace velmora::test {
namespace {

enum class Key { kShiftF10, kMenu };

// How long a key may take to open its menu.
constexpr int kMenuWaitMs = 5000;

// Within the first line of a code, away from the box's corner.
constexpr int kCaretInCode = 40;

struct KeyboardMenu {
  const char* control;
  Key key;
  const char* entry;  // the window's own entry, among the menu's
};

constexpr std::array<KeyboardMenu, 4> kKeyboardMenus = {{
    {"txt", Key::kShiftF10, "Als Face-Header kopieren"},
    {"txt", Key::kMenu, "Als Face-Header kopieren"},
    {"lstFile", Key::kShiftF10, "Als Face anpassen"},
    {"lstFile", Key::kMenu, "Als Face anpassen"},
}};

// What the open menu showed and its accessible tree held. A screen reader
// finds a popup menu through its focused entry.
struct OpenedMenu {
  QRect geometry;
  QAccessible::Role role;
  QStringList entries;  // the names of its menu items
  QString focusedEntry;
};

class ContextMenuKeysTest : public RealWindowTest {
 protected:
  ContextMenuKeysTest() {
    AddFile("a.png", MakePng(2, 2));
    AddFile("b.png", MakePng(3, 3));
    AddFile("c.png", MakePng(4, 4));
    ClickFile("b.png");
    EXPECT_TRUE(Eventually([this] { return !Code().isEmpty(); }));
    window_ = Find<QWidget>("lstFile")->window();
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_));
    // Far from every control: a menu opened there went to the pointer.
    QCursor::setPos(window_->mapToGlobal(QPoint(window_->width() - 1, window_->height() - 1)));
  }

  // Presses the key on the focused control and hands the menu that opens to
  // `act`, which closes it or chooses an entry; false when none opened.
  bool Press(Key key, const std::function<void(QMenu&)>& act) {
    bool opened = false;
    // Fires in the menu's own event loop once it runs; a loaded machine may
    // take several polls to show it.
    QTimer poll;
    poll.setInterval(kMenuPollMs);
    QObject::connect(&poll, &QTimer::timeout, [&poll, &opened, &act] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      poll.stop();
      opened = true;
      act(*menu);
    });
    poll.start();
    if (key == Key::kShiftF10) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    } else {
      PressMenuKey(*window_);
    }
    return QTest::qWaitFor([&opened] { return opened; }, kMenuWaitMs);
  }

  // Where a menu opened from the keyboard belongs, in global coordinates.
  QPoint Anchor(const char* control) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(Find<QWidget>(control))) {
      return edit->viewport()->mapToGlobal(edit->cursorRect().center());
    }
    auto* list = Find<QListWidget>(control);
    return list->viewport()->mapToGlobal(list->visualItemRect(list->currentItem()).center());
  }

  static OpenedMenu Inspect(QMenu& menu) {
    QAccessibleInterface& tree = *QAccessible::queryAccessibleInterface(&menu);
    OpenedMenu opened{menu.geometry(), tree.role(), {}, {}};
    for (QAccessibleInterface* item : ChildrenOf(tree)) {
      if (item->role() != QAccessible::MenuItem) continue;
      opened.entries << item->text(QAccessible::Name);
      if (item->state().focused) opened.focusedEntry = item->text(QAccessible::Name);
    }
    return opened;
  }

  QWidget* window_ = nullptr;
};

TEST_F(ContextMenuKeysTest, KeyOpensTheFocusedControlsMenuAtItsCaretOrEntryWithItsEntriesInTheTree) {
  for (const KeyboardMenu& row : kKeyboardMenus) {
    SCOPED_TRACE(std::string(row.control) + (row.key == Key::kShiftF10 ? " Shift+F10" : " Menu key"));
    // A closed menu hands the activation back to the window through the
    // window system, later: until then no widget has the keyboard focus.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    Find<QWidget>(row.control)->setFocus();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(Find<QWidget>(row.control))) {
      QTextCursor caret = edit->textCursor();
      caret.setPosition(kCaretInCode);
      edit->setTextCursor(caret);
    }
    const QPoint anchor = Anchor(row.control);

    std::optional<OpenedMenu> opened;
    Press(row.key, [&opened](QMenu& menu) {
      opened = Inspect(menu);
      menu.close();
    });

    ASSERT_TRUE(opened.has_value()) << "no menu opened";
    EXPECT_TRUE(opened->geometry.adjusted(-1, -1, 1, 1).contains(anchor))
        << "menu at " << opened->geometry.x() << "," << opened->geometry.y() << ", anchor " << anchor.x() << ","
        << anchor.y();
    EXPECT_EQ(RoleName(opened->role), "PopupMenu");
    EXPECT_TRUE(opened->entries.contains(QString::fromUtf8(row.entry))) << opened->entries.join(" | ").toStdString();
    EXPECT_FALSE(opened->focusedEntry.isEmpty()) << "no entry active for the screen reader to read";
  }
}

TEST_F(ContextMenuKeysTest, ShiftF10AndReturnFitTheCurrentFileOfTheFileList) {
  Find<QWidget>("lstFile")->setFocus();
  EXPECT_TRUE(Press(Key::kShiftF10, [](QMenu& menu) { QTest::keyClick(&menu, Qt::Key_Return); }));

  auto* files = Find<QListWidget>("lstFile");
  EXPECT_TRUE(Eventually([files] { return !files->findItems("b-face.png", Qt::MatchExactly).isEmpty(); }));
}

}  // namespace
}  // namespace velmora::test
