// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own texts in German: the code box's editing menu, the Save dialog's
// buttons and labels, the message boxes' buttons. The window's texts are
// German whatever the desktop's language, so Qt's must follow them.

#include <QTranslator>

namespace velmora {

class GermanQtTexts {
 public:
  // Installs Qt's German translation for the application's lifetime, when the
  // system has it (Debian package qt6-translations-l10n); without it Qt's
  // texts stay English.
  GermanQtTexts();
  GermanQtTexts(const GermanQtTexts&) = delete;
  GermanQtTexts& operator=(const GermanQtTexts&) = delete;
  ~GermanQtTexts();

 private:
  QTranslator translator_;
  bool installed_ = false;
};

}  // namespace velmora
