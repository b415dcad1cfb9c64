// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: writes the PNG form of an XPM icon, for the desktop's icon theme.
// Usage: velmora_xpm_to_png <icon.xpm> <icon.png>

#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: velmora_xpm_to_png <icon.xpm> <icon.png>\n", stderr);
    return 2;
  }
  const QImage icon(QString::fromLocal8Bit(argv[1]), "XPM");
  if (icon.isNull() || !icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "velmora_xpm_to_png: cannot convert %s\n", argv[1]);
    return 1;
  }
  return 0;
}
