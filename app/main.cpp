// SPDX-License-Identifier: GPL-3.0-or-later
// Velmora's composition root. A command line without options opens the
// window on Qt Widgets (on a picture, when one is named) and runs Qt's event
// loop until it closes; any other command line runs without a display.

#include <QApplication>
#include <QCoreApplication>
#include <cstddef>
#include <iostream>
#include <span>
#include <variant>

#include "app/command_line.h"
#include "app/header_command.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_folders.h"
#include "platform/qt/german_qt_texts.h"
#include "platform/qt/qt_picture_reader.h"
#include "platform/qt/qt_platform.h"
#include "platform/version.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace {

int RunWindow(int argc, char** argv, const velmora::WindowRequest& request) {
  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
  velmora::QtPlatform platform(velmora::FrmBase64Table());
  velmora::FrmBase64 form(platform.form());
  platform.Start(form);
  if (request.picture) velmora::OpenPicture(form, *request.picture, velmora::WorkingFolder());
  return QApplication::exec();
}

int RunWithoutWindow(int argc, char** argv) {
  const QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QString::fromLatin1(velmora::kProgramName));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(velmora::kVersionText));
  const velmora::GermanQtTexts qtTexts;
  auto command = velmora::ParseCommandLine(std::span(argv, static_cast<std::size_t>(argc)));
  if (const auto* reply = std::get_if<velmora::Reply>(&command)) {
    (reply->status == velmora::kStatusDone ? std::cout : std::cerr) << reply->text << std::flush;
    return reply->status;
  }
  velmora::PosixFileSystem files;
  velmora::QtPictureReader pictures;
  return velmora::PrintHeader(files, pictures, std::get<velmora::HeaderRequest>(command), std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto window = velmora::WindowRequestOf(std::span(argv, static_cast<std::size_t>(argc)))) {
    return RunWindow(argc, argv, *window);
  }
  return RunWithoutWindow(argc, argv);
}
