// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The code text box over a QPlainTextEdit.

#include <QPlainTextEdit>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "platform/event_router.h"
#include "platform/qt/context_menus.h"
#include "platform/qt/qt_control.h"

namespace velmora {

// A plain text edit that reports the keyboard focus coming from another
// control of the window (Tab, Shift+Tab, a click, a shortcut, a move by the
// program), not its return when the window is activated again or a dialog,
// message box or menu closes. Files dragged over it are left to the window:
// only text drops go in.
class FocusReportingTextEdit final : public QPlainTextEdit {
 public:
  void SetFocusInHandler(std::function<void()> handler) { focusIn_ = std::move(handler); }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;

 private:
  std::function<void()> focusIn_;
};

// Multi-line with a vertical scroll bar, every line wrapped at the box's
// edge: codes are long lines whose characters ("/", "+") must not count as
// word boundaries. Keeps the text the logic last
// wrote, so that it reads back exactly while the box still shows it. With
// menu entries, the context menu offers them below the edit's own entries; from
// the keyboard the menu opens at the caret.
class QtTextBox final : public TextBox, public QtControl {
 public:
  QtTextBox(FocusReportingTextEdit& edit, const EventRouter& events, std::vector<ContextMenuEntry> menu);
  ~QtTextBox() override;
  [[nodiscard]] std::u16string Text() const override;
  void SetText(const std::u16string& text) override;
  [[nodiscard]] std::u16string Tag() const override { return tag_; }
  void SetTag(const std::u16string& tag) override { tag_ = tag; }
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;

 private:
  // Whether the box holds this text, without copying what it holds.
  [[nodiscard]] bool Holds(const std::u16string& text) const;
  // A change of the widget's text that the logic did not write.
  void OnUserEdit();
  void Select(int anchor, int position);
  // `pointer` in the viewport's coordinates; none from the keyboard.
  void ShowContextMenu(std::optional<QPoint> pointer);

  FocusReportingTextEdit& edit_;
  const EventRouter& events_;
  std::u16string written_;  // the text the logic last wrote
  QString writtenShown_;    // how the widget showed it
  QString shown_;           // what the widget shows now
  bool writing_ = false;
  std::u16string tag_;
  std::vector<ContextMenuEntry> menu_;
  std::optional<ContextMenuRequests> menuRequests_;
};

}  // namespace velmora
