// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gestures a user makes on real widgets that QTest has no call for: context
// menus, which run their own event loop, and drag and drop.

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <optional>

namespace velmora::test {

inline constexpr int kMenuPollMs = 10;

// Runs once a context menu is open: opening one returns only when it closes.
inline void WhenMenuOpens(std::function<void(QMenu&)> act) {
  QTimer::singleShot(kMenuPollMs, [act = std::move(act)] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return WhenMenuOpens(act);
    act(*menu);
  });
}

// The right mouse button at that point of the widget.
inline void OpenContextMenu(QWidget& widget, QPoint at) {
  QContextMenuEvent request(QContextMenuEvent::Mouse, at, widget.mapToGlobal(at));
  QApplication::sendEvent(&widget, &request);
}

// The Menu key as the window system hands it to Qt, ahead of the key itself:
// a keyboard request for a context menu, sent to the window, which passes it
// to the focused widget. (Qt's offscreen platform makes none.)
inline void PressMenuKey(QWidget& window) {
  QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
  QApplication::sendEvent(window.windowHandle(), &request);
}

// Chooses the entry with the keyboard; a greyed entry must ignore the key,
// and the menu is closed then.
inline void ChooseEntry(QMenu& menu, QAction& entry) {
  menu.setActiveAction(&entry);
  QTest::keyClick(&menu, Qt::Key_Return);
  if (menu.isVisible()) menu.close();
}

// Drags the data over the widget's centre, offering those actions with those
// keys held, and drops it there; the action taken, none when refused.
inline std::optional<Qt::DropAction> Drop(QWidget& target, const QMimeData& dragged,
                                          Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                                          Qt::KeyboardModifiers keys = {}) {
  const QPoint at = target.rect().center();
  QDragEnterEvent enter(at, offered, &dragged, Qt::LeftButton, keys);
  QApplication::sendEvent(&target, &enter);
  if (!enter.isAccepted()) return std::nullopt;
  QDropEvent drop(at, offered, &dragged, Qt::LeftButton, keys);
  QApplication::sendEvent(&target, &drop);
  if (!drop.isAccepted()) return std::nullopt;
  return drop.dropAction();
}

}  // namespace velmora::test
