// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window and its services on Qt Widgets. Construct it once a
// QApplication exists; it builds the window from its control table alone.

#include <QWidget>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/browser_state.h"
#include "platform/form.h"
#include "platform/event_router.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/accessible_controls.h"
#include "platform/qt/context_menus.h"
#include "platform/qt/german_qt_texts.h"
#include "platform/qt/qt_control.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_framing_dialog.h"
#include "platform/qt/qt_picture_drop.h"
#include "platform/qt/qt_picture_reader.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_simple_controls.h"

namespace velmora {

class QtPlatform final : public Platform {
 public:
  // The lists start on this system's volumes in the working folder.
  explicit QtPlatform(const WindowTable& table);
  // The lists start on the given volumes in the given folder.
  QtPlatform(const WindowTable& table, std::vector<Volume> volumes, const std::u16string& workingFolder);
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;
  ~QtPlatform() override;

  [[nodiscard]] Form& form() override { return form_; }
  // Focus starts on the first control in tab order.
  void Start(FormEvents& handlers) override;

 private:
  [[nodiscard]] std::map<std::string_view, std::unique_ptr<QtControl>> BuildControls();
  [[nodiscard]] std::unique_ptr<QtControl> BuildControl(const ControlEntry& control);
  // Makes the widget the window's child with the control's name, place, size,
  // initial state and accessible texts.
  template <class Widget>
  Widget& Place(Widget* widget, const ControlEntry& control);
  // Twips to whole pixels, the nearest.
  [[nodiscard]] int Pixels(int twips) const;
  [[nodiscard]] QRect PixelRect(const ControlEntry& control) const;
  // The focusable widgets by tab index.
  [[nodiscard]] std::vector<QWidget*> TabStops() const;
  void ChainTabOrder();
  template <class Interface>
  [[nodiscard]] Interface& Control(std::string_view name) const;
  [[nodiscard]] Form MakeForm();

  const WindowTable& table_;
  GermanQtTexts qtTexts_;
  AccessibleControls accessibleControls_;
  // First of the widgets, so that it goes last, taking its widgets with it, after the
  // adapters that refer to them.
  QWidget window_;
  ContextMenuShortcut contextMenuKey_;
  QtWindow windowControl_;
  QtMessageBoxes messages_;
  EventRouter router_;
  PosixFileSystem files_;
  PictureDropTarget drops_;
  BrowserState browser_;
  QtApplication application_;
  QtClipboard clipboard_;
  QtEventPump events_;
  QtPictureLibrary pictures_;
  QtPictureReader pictureFiles_;
  QtFramingDialog framing_;
  std::map<std::string_view, std::unique_ptr<QtControl>> controls_;
  Form form_;
};

}  // namespace velmora
