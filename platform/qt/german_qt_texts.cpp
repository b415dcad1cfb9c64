// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/german_qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace velmora {

GermanQtTexts::GermanQtTexts() {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  installed_ = translator_.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"), folder) &&
               QCoreApplication::installTranslator(&translator_);
}

GermanQtTexts::~GermanQtTexts() {
  if (installed_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace velmora
