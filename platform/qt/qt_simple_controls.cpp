// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_simple_controls.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QToolTip>
#include <array>

#include "platform/line_breaks.h"
#include "platform/qt/qt_string.h"

namespace velmora {
namespace {

constexpr OleColor kSystemColor = 0x80000000;
constexpr OleColor kSystemColorIndex = 0xFF;

// The palette role nearest to each system colour, by its index.
constexpr std::array<QPalette::ColorRole, 25> kSystemColorRoles = {
    QPalette::Button,           // scroll bar
    QPalette::Window,           // desktop
    QPalette::Highlight,        // active title bar
    QPalette::Mid,              // inactive title bar
    QPalette::Window,           // menu bar
    QPalette::Base,             // window background
    QPalette::Shadow,           // window frame
    QPalette::WindowText,       // menu text
    QPalette::WindowText,       // window text
    QPalette::HighlightedText,  // active title bar text
    QPalette::Window,           // active border
    QPalette::Window,           // inactive border
    QPalette::Dark,             // application workspace
    QPalette::Highlight,        // highlight
    QPalette::HighlightedText,  // highlighted text
    QPalette::Button,           // button face
    QPalette::Dark,             // button shadow
    QPalette::PlaceholderText,  // grey text
    QPalette::ButtonText,       // button text
    QPalette::WindowText,       // inactive title bar text
    QPalette::Light,            // button highlight
    QPalette::Shadow,           // 3D dark shadow
    QPalette::Midlight,         // 3D light
    QPalette::ToolTipText,      // tooltip text
    QPalette::ToolTipBase,      // tooltip background
};

QPalette::ColorRole RoleOfSystemColor(OleColor color) {
  const OleColor index = color & kSystemColorIndex;
  return index < kSystemColorRoles.size() ? kSystemColorRoles[index] : QPalette::WindowText;
}

QColor ColorOf(OleColor color) {
  if ((color & kSystemColor) != 0) return QGuiApplication::palette().color(RoleOfSystemColor(color));
  return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
          static_cast<int>((color >> 16) & 0xFF)};
}

}  // namespace

std::u16string QtWindow::Caption() const { return FromQString(window_.windowTitle()); }

void QtWindow::SetCaption(const std::u16string& caption) { window_.setWindowTitle(ToQString(caption)); }

void QtWindow::SetMousePointer(MousePointer pointer) {
  const bool hourglass = pointer == MousePointer::kHourglass;
  if (hourglass == hourglass_) return;
  hourglass_ = hourglass;
  if (hourglass) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

bool ReturnPressesButton::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool returnKey = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  // Held down, the key would press the button again and again.
  if (!returnKey || key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier) != 0) return false;
  static_cast<QPushButton*>(watched)->click();
  return true;
}

QtCommandButton::QtCommandButton(QPushButton& button, const EventRouter& events, Handler click) : button_(button) {
  button_.installEventFilter(&returnKey_);
  QObject::connect(&button, &QPushButton::clicked, &connections(), [&events, click] { events.Raise(click); });
}

bool AskedToolTip::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  const QString text = ask_();
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, qobject_cast<QWidget*>(watched));
  }
  return true;
}

namespace {

// Plain text where Qt takes it as such. Otherwise rich text, the text
// escaped, and a picture set at its own size to the left of it, inlined as a
// data URL.
QString ToolTipMarkup(const ToolTip& toolTip) {
  const QString text = ToQString(ShownText(toolTip.text));
  if (toolTip.picture.empty() && !Qt::mightBeRichText(text)) return text;
  const QString lines = QStringLiteral(R"(<p style="white-space:pre-wrap">%1</p>)").arg(text.toHtmlEscaped());
  if (toolTip.picture.empty()) return lines;
  const QString source =
      QStringLiteral("data:image/png;base64,") + QByteArray::fromStdString(toolTip.picture).toBase64();
  return QStringLiteral(R"(<table><tr><td valign="middle"><img src="%1"></td>)"
                        R"(<td valign="middle">%2</td></tr></table>)")
      .arg(source, lines);
}

}  // namespace

QtLabel::QtLabel(QLabel& label, OleColor color, const EventRouter& events)
    : label_(label), toolTip_([&events] { return ToolTipMarkup(events.Ask(&FormEvents::Label1_ToolTip)); }) {
  label_.installEventFilter(&toolTip_);
  label_.setTextFormat(Qt::PlainText);
  label_.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label_.setWordWrap(true);
  SetForeColor(color);
}

void QtLabel::SetCaption(const std::u16string& caption) {
  caption_ = caption;
  label_.setText(ToQString(ShownText(caption)));
}

void QtLabel::SetForeColor(OleColor color) {
  color_ = color;
  QPalette palette = label_.palette();
  palette.setColor(QPalette::WindowText, ColorOf(color));
  label_.setPalette(palette);
}

}  // namespace velmora
