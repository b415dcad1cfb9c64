// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/window_icon.h"

#include <QSize>
#include <QString>

namespace velmora {

// The icon theme's PNG files, compiled in; Qt picks the size each place needs.
// With its size named, a file is read only when that size is drawn.
QIcon WindowIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icon/velmora-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace velmora
