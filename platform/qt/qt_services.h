// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application-wide services on Qt.

#include <QWidget>
#include <string>

#include "platform/services.h"

namespace velmora {

class QtApplication final : public Application {
 public:
  [[nodiscard]] std::u16string Path() const override;
  [[nodiscard]] int Major() const override;
  [[nodiscard]] int Minor() const override;
  [[nodiscard]] int Revision() const override;
  [[nodiscard]] char16_t DecimalSeparator() const override;
};

// Any format reads the text; text set goes to the clipboard with LF line
// breaks. A picture is read in whatever image format its owner offers and
// handed on as a PNG file.
class QtClipboard final : public Clipboard {
 public:
  [[nodiscard]] std::u16string GetText(int format) override;
  void SetText(const std::u16string& text) override;
  [[nodiscard]] bool HasPicture() override;
  [[nodiscard]] std::string GetPicture() override;
};

// Modal boxes over the window, titled "Velmora", with an OK button.
class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget& window) : window_(window) {}
  void MsgBox(const std::u16string& prompt, int style) override;

 private:
  QWidget& window_;
};

class QtEventPump final : public EventPump {
 public:
  void DoEvents() override;
};

}  // namespace velmora
