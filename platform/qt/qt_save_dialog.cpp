// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_save_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/paths.h"
#include "platform/error.h"
#include "platform/qt/name_filters.h"
#include "platform/qt/qt_string.h"
#include "platform/text.h"

namespace velmora {
namespace {

QStringList QtNameFilters(const std::u16string& filter) {
  QStringList nameFilters;
  for (const std::u16string& nameFilter : NameFilters(filter)) nameFilters.append(ToQString(nameFilter));
  return nameFilters;
}

}  // namespace

void QtSaveDialog::ShowSave() {
  // Qt's own dialog, not the desktop's, so that it looks and behaves alike
  // everywhere and tests can answer it.
  QFileDialog dialog(&window_, ToQString(title_));
  dialog.setObjectName(objectName_);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags_ & kDialogOverwritePrompt) == 0);
  dialog.setNameFilters(QtNameFilters(filter_));
  // A name with a folder opens that folder with the name filled in.
  dialog.selectFile(ToQString(ShownName(fileName_)));
  if (dialog.exec() == QDialog::Accepted) {
    fileName_ = KeepingProposedBytes(fileName_, FromQString(dialog.selectedFiles().value(0)));
  } else if (cancelError_) {
    throw Error(kErrCancel);
  } else {
    fileName_.clear();
  }
}

}  // namespace velmora
