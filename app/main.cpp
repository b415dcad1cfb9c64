// SPDX-License-Identifier: GPL-3.0-or-later
// Velmora's composition root: the Qt platform, the window logic on it, and
// Qt's event loop, which ends when the window closes.

#include <QApplication>

#include "platform/qt/qt_platform.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
  velmora::QtPlatform platform(velmora::FrmBase64Table());
  velmora::FrmBase64 form(platform.form());
  platform.Start(form);
  return QApplication::exec();
}
