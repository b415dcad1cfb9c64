// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The accessibility tree as a screen reader walks it: from an interface down
// through the children each node reports.

#include <QAccessible>
#include <QString>
#include <vector>

namespace velmora::test {

[[nodiscard]] std::vector<QAccessibleInterface*> ChildrenOf(QAccessibleInterface& node);

// The child that stands for the widget of that object name; null when none does.
[[nodiscard]] QAccessibleInterface* ChildFor(QAccessibleInterface& parent, const QString& objectName);

// Qt's name of the role, e.g. "ComboBox".
[[nodiscard]] QString RoleName(QAccessible::Role role);

// The tree from `root`, a node a line, indented by two spaces a level: its
// role, its name in quotes and its value where it has one that differs.
[[nodiscard]] QString TreeText(QAccessibleInterface& root);

}  // namespace velmora::test
