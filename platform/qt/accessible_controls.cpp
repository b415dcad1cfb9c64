// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/accessible_controls.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

#include "platform/qt/qt_picture.h"

namespace velmora {
namespace {

using namespace Qt::StringLiterals;

// The list that drops down is its one child, as in Qt's own interface.
class NamedComboBox final : public QAccessibleWidget {
 public:
  explicit NamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  [[nodiscard]] QString text(QAccessible::Text kind) const override {
    switch (kind) {
      case QAccessible::Name:
        return widget()->accessibleName().isEmpty() ? combo().currentText() : widget()->accessibleName();
      case QAccessible::Value:
        return combo().currentText();
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  [[nodiscard]] int childCount() const override { return 1; }
  [[nodiscard]] QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(combo().view()) : nullptr;
  }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == combo().view() ? 0 : -1;
  }
  [[nodiscard]] QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

  [[nodiscard]] QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return;
    if (combo().view()->isVisible()) {
      combo().hidePopup();
    } else {
      combo().showPopup();
    }
  }

 private:
  [[nodiscard]] QComboBox& combo() const { return *static_cast<QComboBox*>(widget()); }
};

// Asked for each class of the object, the most derived first, before Qt's own.
QAccessibleInterface* AccessibleControl(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (className == "QComboBox"_L1) {
    // An editable one has a text field of its own, which Qt's interface reads.
    auto* combo = static_cast<QComboBox*>(widget);
    return combo->isEditable() ? nullptr : new NamedComboBox(combo);
  }
  if (className == "QFrame"_L1 && dynamic_cast<PictureCanvas*>(widget) != nullptr) {
    return new QAccessibleWidget(widget, QAccessible::Graphic);
  }
  if (className == "QWidget"_L1 && widget->isWindow()) return new QAccessibleWidget(widget, QAccessible::Window);
  return nullptr;
}

}  // namespace

AccessibleControls::AccessibleControls() { QAccessible::installFactory(&AccessibleControl); }

}  // namespace velmora
