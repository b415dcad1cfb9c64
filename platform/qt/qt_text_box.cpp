// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_text_box.h"

#include <QFont>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <algorithm>
#include <memory>
#include <utility>
#include <variant>

#include "platform/line_breaks.h"
#include "platform/qt/qt_string.h"
#include "platform/text.h"

namespace velmora {
namespace {

int ShownPositionOf(const std::u16string& text, int position) {
  return static_cast<int>(ShownPosition(text, static_cast<std::size_t>(std::max(position, 0))));
}

bool ComesFromAnotherControl(Qt::FocusReason reason) {
  switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
      return true;
    default:
      return false;
  }
}

}  // namespace

void FocusReportingTextEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  if (focusIn_ && ComesFromAnotherControl(event->reason())) focusIn_();
}

// Ignored, the drag goes on to the window, which takes picture files.
void FocusReportingTextEdit::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) return event->ignore();
  QPlainTextEdit::dragEnterEvent(event);
}

void FocusReportingTextEdit::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) return event->ignore();
  QPlainTextEdit::dragMoveEvent(event);
}

QtTextBox::QtTextBox(FocusReportingTextEdit& edit, const EventRouter& events, std::vector<ContextMenuEntry> menu)
    : edit_(edit), events_(events), menu_(std::move(menu)) {
  edit_.setWordWrapMode(QTextOption::WrapAnywhere);
  // Codes are Latin script, where shaping is cosmetic only; leaving it out
  // halves the layout time of a long code. The rest of the font is the
  // window's.
  QFont unshaped;
  unshaped.setStyleStrategy(QFont::PreferNoShaping);
  edit_.setFont(unshaped);
  edit_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit_.setTabChangesFocus(true);
  edit_.SetFocusInHandler([this] { events_.Raise(&FormEvents::txt_GotFocus); });
  QObject::connect(&edit_, &QPlainTextEdit::textChanged, &connections(), [this] { OnUserEdit(); });
  if (menu_.empty()) return;
  menuRequests_.emplace(edit_, [this](std::optional<QPoint> pointer) { ShowContextMenu(pointer); });
}

QtTextBox::~QtTextBox() { edit_.SetFocusInHandler({}); }

std::u16string QtTextBox::Text() const { return shown_ == writtenShown_ ? written_ : CrLfText(FromQString(shown_)); }

bool QtTextBox::Holds(const std::u16string& text) const {
  return shown_ == writtenShown_ ? SameText(text, written_) : SameText(text, Text());
}

void QtTextBox::SetText(const std::u16string& text) {
  if (Holds(text)) return;
  {
    const QScopedValueRollback writing(writing_, true);
    edit_.setPlainText(ToQString(ShownText(text)));
  }
  written_ = text;
  writtenShown_ = shown_ = edit_.toPlainText();
  events_.Raise(&FormEvents::txt_Change);
}

void QtTextBox::OnUserEdit() {
  if (writing_) return;
  QString now = edit_.toPlainText();
  // Formatting, or replacing a selection by the same text, changes nothing.
  if (now == shown_) return;
  shown_ = std::move(now);
  events_.Raise(&FormEvents::txt_Change);
}

void QtTextBox::SetSelStart(int start) {
  const int position = ShownPositionOf(Text(), start);
  Select(position, position);
}

void QtTextBox::SetSelLength(int length) {
  const std::u16string text = Text();
  const int anchor = edit_.textCursor().selectionStart();
  const auto start = static_cast<int>(TextPosition(text, static_cast<std::size_t>(anchor)));
  Select(anchor, ShownPositionOf(text, start + std::max(length, 0)));
}

void QtTextBox::ShowContextMenu(std::optional<QPoint> pointer) {
  const std::unique_ptr<QMenu> menu(edit_.createStandardContextMenu());
  menu->addSeparator();
  const std::vector<QAction*> actions = AddWindowEntries(*menu, menu_, events_);
  if (!pointer) edit_.ensureCursorVisible();
  // The handler runs once the menu has closed.
  const QAction* chosen = RunContextMenu(*menu, *edit_.viewport(), pointer, edit_.cursorRect().center());
  if (const ContextMenuEntry* entry = ChosenWindowEntry(chosen, actions, menu_)) {
    events_.Raise(std::get<ControlCommand>(entry->command));
  }
}

void QtTextBox::Select(int anchor, int position) {
  QTextCursor cursor = edit_.textCursor();
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  edit_.setTextCursor(cursor);
}

}  // namespace velmora
