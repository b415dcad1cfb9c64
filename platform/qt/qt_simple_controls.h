#pragma once
// The window itself, the command buttons and the label.

#include <QLabel>
#include <QPushButton>
#include <QWidget>
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

class QtCommandButton final : public CommandButton, public QtControl {
 public:
  QtCommandButton(QPushButton& button, const EventRouter& events, Handler click);
  [[nodiscard]] bool Enabled() const override { return button_.isEnabled(); }
  void SetEnabled(bool enabled) override { button_.setEnabled(enabled); }

 private:
  QPushButton& button_;
};

// Plain text, centred and wrapped at word boundaries.
class QtLabel final : public Label, public QtControl {
 public:
  QtLabel(QLabel& label, OleColor color);
  [[nodiscard]] std::u16string Caption() const override { return caption_; }
  void SetCaption(const std::u16string& caption) override;
  [[nodiscard]] OleColor ForeColor() const override { return color_; }
  // A system colour takes the application palette's colour of that role.
  void SetForeColor(OleColor color) override;

 private:
  QLabel& label_;
  std::u16string caption_;
  OleColor color_ = 0;
};

}  // namespace velmora
