// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/context_menus.h"

#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/qt/qt_string.h"

namespace velmora {
namespace {

void ActivateFirstEntry(QMenu& menu) {
  const QList<QAction*> entries = menu.actions();
  const auto first = std::ranges::find_if(
      entries, [](const QAction* entry) { return entry->isEnabled() && entry->isVisible() && !entry->isSeparator(); });
  if (first != entries.end()) menu.setActiveAction(*first);
}

}  // namespace

ContextMenuShortcut::ContextMenuShortcut(QWidget& window)
    : shortcut_(QKeySequence(Qt::ShiftModifier | Qt::Key_F10), &window) {
  QObject::connect(&shortcut_, &QShortcut::activated, &window, [&window] {
    // The request the Menu key makes: Qt hands it to the focused widget, at
    // its caret.
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QCoreApplication::sendEvent(window.windowHandle(), &request);
  });
}

ContextMenuRequests::ContextMenuRequests(QAbstractScrollArea& area, Handler handler)
    : area_(area), handler_(std::move(handler)) {
  area_.installEventFilter(this);
  area_.viewport()->installEventFilter(this);
}

bool ContextMenuRequests::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ContextMenu) return false;
  const auto* request = static_cast<QContextMenuEvent*>(event);
  if (request->reason() == QContextMenuEvent::Keyboard) {
    handler_(std::nullopt);
  } else if (watched == area_.viewport()) {
    handler_(request->pos());
  } else {
    return false;
  }
  return true;
}

QAction* RunContextMenu(QMenu& menu, const QWidget& viewport, std::optional<QPoint> pointer, QPoint keyboardAnchor) {
  // Once the menu shows: a screen reader passes over an entry of a menu not
  // yet open.
  if (!pointer) QTimer::singleShot(0, &menu, [&menu] { ActivateFirstEntry(menu); });
  return menu.exec(viewport.mapToGlobal(pointer.value_or(keyboardAnchor)));
}

std::vector<QAction*> AddWindowEntries(QMenu& menu, const std::vector<ContextMenuEntry>& entries,
                                       const EventRouter& events) {
  std::vector<QAction*> actions;
  for (const ContextMenuEntry& entry : entries) {
    QAction* action = menu.addAction(ToQString(entry.caption));
    action->setEnabled(entry.available == nullptr || events.Ask(entry.available));
    actions.push_back(action);
  }
  return actions;
}

const ContextMenuEntry* ChosenWindowEntry(const QAction* chosen, const std::vector<QAction*>& actions,
                                          const std::vector<ContextMenuEntry>& entries) {
  const auto found = std::ranges::find(actions, chosen);
  if (chosen == nullptr || found == actions.end()) return nullptr;
  return &entries[static_cast<std::size_t>(found - actions.begin())];
}

}  // namespace velmora
