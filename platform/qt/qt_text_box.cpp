#include "platform/qt/qt_text_box.h"

#include <QScopedValueRollback>
#include <QTextCursor>
#include <algorithm>
#include <utility>

#include "platform/qt/line_breaks.h"
#include "platform/qt/qt_string.h"

namespace velmora {
namespace {

int ShownPositionOf(const std::u16string& text, int position) {
  return static_cast<int>(ShownPosition(text, static_cast<std::size_t>(std::max(position, 0))));
}

}  // namespace

void FocusReportingTextEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  if (focusIn_) focusIn_();
}

QtTextBox::QtTextBox(FocusReportingTextEdit& edit, const EventRouter& events) : edit_(edit), events_(events) {
  edit_.setWordWrapMode(QTextOption::WrapAnywhere);
  edit_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit_.setTabChangesFocus(true);
  edit_.SetFocusInHandler([this] { events_.Raise(&FormEvents::txt_GotFocus); });
  QObject::connect(&edit_, &QPlainTextEdit::textChanged, &connections(), [this] { OnUserEdit(); });
}

QtTextBox::~QtTextBox() { edit_.SetFocusInHandler({}); }

std::u16string QtTextBox::Text() const { return shown_ == writtenShown_ ? written_ : CrLfText(FromQString(shown_)); }

void QtTextBox::SetText(const std::u16string& text) {
  if (text == Text()) return;
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

void QtTextBox::Select(int anchor, int position) {
  QTextCursor cursor = edit_.textCursor();
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  edit_.setTextCursor(cursor);
}

}  // namespace velmora
