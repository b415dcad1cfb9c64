// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/platform/qt/accessible_tree.h"

#include <QMetaEnum>
#include <algorithm>

namespace velmora::test {
namespace {

QString NodeLine(QAccessibleInterface& node, int depth) {
  const QString name = node.text(QAccessible::Name);
  const QString value = node.text(QAccessible::Value);
  QString line = QStringLiteral("%1%2 \"%3\"").arg(QString(depth * 2, u' '), RoleName(node.role()), name);
  if (!value.isEmpty() && value != name) line += QStringLiteral(" = \"%1\"").arg(value);
  return line.replace(u'\n', QStringLiteral("\\n")) + u'\n';
}

void AppendTree(QAccessibleInterface& node, int depth, QString& text) {
  text += NodeLine(node, depth);
  for (QAccessibleInterface* child : ChildrenOf(node)) AppendTree(*child, depth + 1, text);
}

}  // namespace

std::vector<QAccessibleInterface*> ChildrenOf(QAccessibleInterface& node) {
  std::vector<QAccessibleInterface*> children;
  for (int index = 0; index < node.childCount(); ++index) {
    if (QAccessibleInterface* child = node.child(index)) children.push_back(child);
  }
  return children;
}

QAccessibleInterface* ChildFor(QAccessibleInterface& parent, const QString& objectName) {
  const std::vector<QAccessibleInterface*> children = ChildrenOf(parent);
  const auto found = std::ranges::find_if(children, [&objectName](const QAccessibleInterface* child) {
    return child->object() != nullptr && child->object()->objectName() == objectName;
  });
  return found == children.end() ? nullptr : *found;
}

QString RoleName(QAccessible::Role role) {
  return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(role));
}

QString TreeText(QAccessibleInterface& root) {
  QString text;
  AppendTree(root, 0, text);
  return text;
}

}  // namespace velmora::test
