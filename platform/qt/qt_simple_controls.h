// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window itself, the command buttons and the label.

#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/event_router.h"
#include "platform/qt/qt_control.h"

namespace velmora {

class QtWindow final : public Window {
 public:
  explicit QtWindow(QWidget& window) : window_(window) {}
  [[nodiscard]] std::u16string Caption() const override;
  void SetCaption(const std::u16string& caption) override;
  // The hourglass is the application's override cursor; it is restored only
  // when this window set it.
  void SetMousePointer(MousePointer pointer) override;
  void Unload() override { window_.close(); }

 private:
  QWidget& window_;
  bool hourglass_ = false;
};

// Return and the keypad's Enter press the button that has the focus, as
// Space does; outside a dialog Qt leaves them to the window.
class ReturnPressesButton final : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

class QtCommandButton final : public CommandButton, public QtControl {
 public:
  QtCommandButton(QPushButton& button, const EventRouter& events, Handler click);
  [[nodiscard]] bool Enabled() const override { return button_.isEnabled(); }
  void SetEnabled(bool enabled) override { button_.setEnabled(enabled); }

 private:
  QPushButton& button_;
  ReturnPressesButton returnKey_;
};

// Answers a widget's tooltip requests with a text asked for each time; no
// tooltip shows for an empty one.
class AskedToolTip final : public QObject {
 public:
  explicit AskedToolTip(std::function<QString()> ask) : ask_(std::move(ask)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<QString()> ask_;
};

// Plain text, centred and wrapped at word boundaries. Its tooltip is the one
// the handlers give as it is about to show.
class QtLabel final : public Label, public QtControl {
 public:
  QtLabel(QLabel& label, OleColor color, const EventRouter& events);
  [[nodiscard]] std::u16string Caption() const override { return caption_; }
  void SetCaption(const std::u16string& caption) override;
  [[nodiscard]] OleColor ForeColor() const override { return color_; }
  // A system colour takes the application palette's colour of that role.
  void SetForeColor(OleColor color) override;

 private:
  QLabel& label_;
  std::u16string caption_;
  OleColor color_ = 0;
  AskedToolTip toolTip_;
};

}  // namespace velmora
