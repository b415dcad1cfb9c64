// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_services.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>

#include "platform/qt/line_breaks.h"
#include "platform/qt/qt_string.h"
#include "platform/version.h"

namespace velmora {

std::u16string QtApplication::Path() const { return FromQString(QCoreApplication::applicationDirPath()); }

int QtApplication::Major() const { return kVersionMajor; }

int QtApplication::Minor() const { return kVersionMinor; }

int QtApplication::Revision() const { return kVersionRevision; }

char16_t QtApplication::DecimalSeparator() const { return QLocale::system().decimalPoint().front().unicode(); }

std::u16string QtClipboard::GetText(int /*format*/) { return FromQString(QGuiApplication::clipboard()->text()); }

void QtClipboard::SetText(const std::u16string& text) { QGuiApplication::clipboard()->setText(ToQString(text)); }

void QtMessageBoxes::MsgBox(const std::u16string& prompt, int style) {
  const QMessageBox::Icon icon = style == kMsgBoxExclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
  QMessageBox box(icon, QStringLiteral("Velmora"), ToQString(ShownText(prompt)), QMessageBox::Ok, &window_);
  box.setObjectName(QStringLiteral("MsgBox"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void QtEventPump::DoEvents() { QCoreApplication::processEvents(); }

}  // namespace velmora
