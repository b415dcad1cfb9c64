// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common Save dialog: the setters only store, ShowSave builds a modal
// QFileDialog from what they stored.

#include <QString>
#include <QWidget>
#include <string>

#include "platform/controls.h"
#include "platform/qt/qt_control.h"

namespace velmora {

class QtSaveDialog final : public SaveDialog, public QtControl {
 public:
  // The dialog takes the object name, so that tests can find it while shown.
  QtSaveDialog(QWidget& window, QString objectName) : window_(window), objectName_(std::move(objectName)) {}
  void SetCancelError(bool cancelError) override { cancelError_ = cancelError; }
  void SetFlags(int flags) override { flags_ = flags; }
  void SetDialogTitle(const std::u16string& title) override { title_ = title; }
  void SetFilter(const std::u16string& filter) override { filter_ = filter; }
  [[nodiscard]] std::u16string FileName() const override { return fileName_; }
  void SetFileName(const std::u16string& fileName) override { fileName_ = fileName; }
  void ShowSave() override;

 private:
  QWidget& window_;
  QString objectName_;
  bool cancelError_ = false;
  int flags_ = 0;
  std::u16string title_;
  std::u16string filter_;
  std::u16string fileName_;
};

}  // namespace velmora
