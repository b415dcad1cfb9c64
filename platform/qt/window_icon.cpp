// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/window_icon.h"

#include <QPixmap>

namespace velmora {
namespace {

// The XPM sources are C arrays, compiled in as they are.
#include "platform/qt/icon/velmora-16.xpm"
#include "platform/qt/icon/velmora-32.xpm"
#include "platform/qt/icon/velmora-48.xpm"

}  // namespace

QIcon WindowIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap(velmora_16_xpm));
  icon.addPixmap(QPixmap(velmora_32_xpm));
  icon.addPixmap(QPixmap(velmora_48_xpm));
  return icon;
}

}  // namespace velmora
