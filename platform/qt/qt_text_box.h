#pragma once
// The code text box over a QPlainTextEdit.

#include <QPlainTextEdit>
#include <QString>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/event_router.h"
#include "platform/qt/qt_control.h"

namespace velmora {

// A plain text edit that reports gaining the keyboard focus, for any reason.
class FocusReportingTextEdit final : public QPlainTextEdit {
 public:
  void SetFocusInHandler(std::function<void()> handler) { focusIn_ = std::move(handler); }

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  std::function<void()> focusIn_;
};

// Multi-line with a vertical scroll bar, every line wrapped at the box's
// edge: codes are long lines whose characters ("/", "+") must not count as
// word boundaries. Keeps the text the logic last
// wrote, so that it reads back exactly while the box still shows it.
class QtTextBox final : public TextBox, public QtControl {
 public:
  QtTextBox(FocusReportingTextEdit& edit, const EventRouter& events);
  ~QtTextBox() override;
  [[nodiscard]] std::u16string Text() const override;
  void SetText(const std::u16string& text) override;
  [[nodiscard]] std::u16string Tag() const override { return tag_; }
  void SetTag(const std::u16string& tag) override { tag_ = tag; }
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;

 private:
  // A change of the widget's text that the logic did not write.
  void OnUserEdit();
  void Select(int anchor, int position);

  FocusReportingTextEdit& edit_;
  const EventRouter& events_;
  std::u16string written_;  // the text the logic last wrote
  QString writtenShown_;    // how the widget showed it
  QString shown_;           // what the widget shows now
  bool writing_ = false;
  std::u16string tag_;
};

}  // namespace velmora
