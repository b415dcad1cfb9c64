// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/posix/system_folders.h"
#include "platform/qt/qt_lists.h"
#include "platform/qt/qt_save_dialog.h"
#include "platform/qt/qt_string.h"
#include "platform/qt/qt_text_box.h"
#include "platform/qt/window_icon.h"

namespace velmora {
namespace {

constexpr std::array<std::pair<std::string_view, Handler>, 5> kClickHandlers = {{
    {"cmdLoad", &FormEvents::cmdLoad_Click},
    {"cmdSave", &FormEvents::cmdSave_Click},
    {"cmdPaste", &FormEvents::cmdPaste_Click},
    {"cmdSavePic", &FormEvents::cmdSavePic_Click},
    {"Command1", &FormEvents::Command1_Click},
}};

Handler ClickHandlerOf(std::string_view button) {
  const auto* found = std::ranges::find(kClickHandlers, button, &std::pair<std::string_view, Handler>::first);
  if (found == kClickHandlers.end()) throw std::invalid_argument("no Click handler for " + std::string(button));
  return found->second;
}

QString NameOf(const ControlEntry& control) {
  return QString::fromUtf8(control.name.data(), static_cast<qsizetype>(control.name.size()));
}

// Closable and minimisable, but neither maximisable nor resizable.
constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

// The fixed layout has room for captions and the label's five report lines
// in an 8-point font, as on the desktops it was drawn for; the system's
// family, at that size.
constexpr qreal kLayoutFontPoints = 8;

QFont LayoutFont() {
  QFont font = QApplication::font();
  font.setPointSizeF(kLayoutFontPoints);
  return font;
}

// The window with its layout font, set before any control is built: a
// control built in another font resolves its font and lays out twice.
QWidget& InLayoutFont(QWidget& window) {
  window.setFont(LayoutFont());
  return window;
}

}  // namespace

QtPlatform::QtPlatform(const WindowTable& table)
    : QtPlatform(table, SystemVolumes(), WorkingFolder()) {}

QtPlatform::QtPlatform(const WindowTable& table, std::vector<Volume> volumes, const std::u16string& workingFolder)
    : table_(table),
      contextMenuKey_(window_),
      windowControl_(InLayoutFont(window_)),
      messages_(window_),
      router_(messages_),
      drops_(window_, router_, files_),
      browser_(files_, std::move(volumes), workingFolder),
      pictures_(files_),
      framing_(window_),
      controls_(BuildControls()),
      form_(MakeForm()) {
  window_.setObjectName(QStringLiteral("frmBase64"));
  window_.setWindowTitle(ToQString(table_.caption));
  window_.setWindowFlags(kWindowFlags);
  window_.setFixedSize(Pixels(table_.clientWidth), Pixels(table_.clientHeight));
  window_.setWindowIcon(WindowIcon());
  ChainTabOrder();
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::Start(FormEvents& handlers) {
  router_.Attach(handlers);
  router_.Raise(&FormEvents::Form_Load);
  window_.show();
  const std::vector<QWidget*> stops = TabStops();
  const auto first =
      std::ranges::find_if(stops, [](const QWidget* stop) { return stop->isEnabled() && !stop->isHidden(); });
  if (first != stops.end()) (*first)->setFocus();
}

std::map<std::string_view, std::unique_ptr<QtControl>> QtPlatform::BuildControls() {
  std::map<std::string_view, std::unique_ptr<QtControl>> controls;
  for (const ControlEntry& control : table_.controls) {
    if (auto built = BuildControl(control)) controls.emplace(control.name, std::move(built));
  }
  return controls;
}

std::unique_ptr<QtControl> QtPlatform::BuildControl(const ControlEntry& control) {
  switch (control.kind) {
    case ControlKind::kDriveList:
      return std::make_unique<QtDriveList>(Place(new QComboBox, control), browser_, router_);
    case ControlKind::kCommandButton:
      return std::make_unique<QtCommandButton>(Place(new QPushButton(ToQString(control.caption)), control), router_,
                                               ClickHandlerOf(control.name));
    case ControlKind::kFolderList:
      return std::make_unique<QtDirList>(Place(new QListWidget, control), browser_, router_);
    case ControlKind::kTextBox:
      return std::make_unique<QtTextBox>(Place(new FocusReportingTextEdit, control), router_,
                                         ContextMenuEntries(table_, control.name));
    case ControlKind::kFileList:
      return std::make_unique<QtFileList>(Place(new FileListWidget, control), browser_, router_,
                                          ContextMenuEntries(table_, control.name));
    case ControlKind::kFrame:
      // Frames only decorate: no adapter.
      Place(new QGroupBox(ToQString(control.caption)), control);
      return nullptr;
    case ControlKind::kPictureBox:
      return std::make_unique<QtPictureBox>(Place(new PictureCanvas(PixelRect(control).size()), control),
                                            table_.twipsPerPixel);
    case ControlKind::kLabel:
      return std::make_unique<QtLabel>(Place(new QLabel, control), control.foreColor, router_);
    case ControlKind::kSaveDialog:
      return std::make_unique<QtSaveDialog>(window_, NameOf(control));
  }
  throw std::invalid_argument("unknown kind of control " + std::string(control.name));
}

template <class Widget>
Widget& QtPlatform::Place(Widget* widget, const ControlEntry& control) {
  widget->setParent(&window_);
  widget->setObjectName(NameOf(control));
  widget->setGeometry(PixelRect(control));
  widget->setVisible(control.visible);
  widget->setEnabled(control.enabled);
  widget->setAccessibleName(ToQString(control.accessibleName));
  widget->setAccessibleDescription(ToQString(control.accessibleDescription));
  return *widget;
}

int QtPlatform::Pixels(int twips) const {
  return static_cast<int>(std::lround(static_cast<double>(twips) / table_.twipsPerPixel));
}

QRect QtPlatform::PixelRect(const ControlEntry& control) const {
  return {Pixels(control.left), Pixels(control.top), Pixels(control.width), Pixels(control.height)};
}

std::vector<QWidget*> QtPlatform::TabStops() const {
  std::vector<const ControlEntry*> ordered;
  for (const ControlEntry& control : table_.controls) {
    if (control.tabIndex != kNoTabStop) ordered.push_back(&control);
  }
  std::ranges::sort(ordered, {}, &ControlEntry::tabIndex);
  std::vector<QWidget*> stops;
  for (const ControlEntry* control : ordered) {
    auto* widget = window_.findChild<QWidget*>(NameOf(*control), Qt::FindDirectChildrenOnly);
    if (widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) != 0) stops.push_back(widget);
  }
  return stops;
}

void QtPlatform::ChainTabOrder() {
  const std::vector<QWidget*> stops = TabStops();
  for (std::size_t at = 1; at < stops.size(); ++at) QWidget::setTabOrder(stops[at - 1], stops[at]);
}

template <class Interface>
Interface& QtPlatform::Control(std::string_view name) const {
  return dynamic_cast<Interface&>(*controls_.at(name));
}

Form QtPlatform::MakeForm() {
  return Form{windowControl_,
              Control<TextBox>("txt"),
              Control<CommandButton>("cmdLoad"),
              Control<CommandButton>("cmdSave"),
              Control<CommandButton>("cmdPaste"),
              Control<CommandButton>("cmdSavePic"),
              Control<CommandButton>("Command1"),
              Control<Label>("Label1"),
              Control<PictureBox>("Picture1"),
              Control<FileList>("lstFile"),
              Control<DirList>("lstDir"),
              Control<DriveList>("lstDrive"),
              Control<SaveDialog>("CommonDialog1"),
              application_,
              clipboard_,
              messages_,
              events_,
              files_,
              pictures_,
              pictureFiles_,
              framing_};
}

}  // namespace velmora
