// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Context menus that open from the keyboard as well as with the mouse. The
// Menu key reaches the focused control as a keyboard request (the window
// system and Qt see to that); Shift+F10 is made to do the same. A menu asked
// for from the keyboard opens at the control's caret or current entry, not at
// the pointer, and starts on its first entry, which a screen reader then reads
// out.

#include <QAbstractScrollArea>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QShortcut>
#include <functional>
#include <optional>
#include <vector>

#include "platform/event_router.h"
#include "platform/form.h"

namespace velmora {

// Shift+F10 in the window asks the focused control for its context menu.
class ContextMenuShortcut {
 public:
  explicit ContextMenuShortcut(QWidget& window);

 private:
  QShortcut shortcut_;
};

// Hands a scroll area's context menu requests on: the mouse's, which arrive at
// its viewport, and the keyboard's, which arrive at the area itself.
class ContextMenuRequests final : public QObject {
 public:
  // `pointer` in the viewport's coordinates; none when the keyboard asked.
  using Handler = std::function<void(std::optional<QPoint> pointer)>;
  ContextMenuRequests(QAbstractScrollArea& area, Handler handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAbstractScrollArea& area_;
  Handler handler_;
};

// Runs the menu at the pointer, or from the keyboard at `keyboardAnchor`, both
// in the viewport's coordinates; the entry chosen, none when it was closed.
QAction* RunContextMenu(QMenu& menu, const QWidget& viewport, std::optional<QPoint> pointer, QPoint keyboardAnchor);

// Adds the window's entries to the menu in their order, each greyed while its
// availability query answers false; their actions in the same order.
std::vector<QAction*> AddWindowEntries(QMenu& menu, const std::vector<ContextMenuEntry>& entries,
                                       const EventRouter& events);

// The window's entry of the chosen action; none for the toolkit's own entries
// and for a menu closed without a choice.
const ContextMenuEntry* ChosenWindowEntry(const QAction* chosen, const std::vector<QAction*>& actions,
                                          const std::vector<ContextMenuEntry>& entries);

}  // namespace velmora
