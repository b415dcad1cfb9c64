// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader gets from the real window: the accessibility tree
// below the window, every control in it by role, German name and
// description, the drive list's current entry as its value, and the label's
// report as the label's name. (The offscreen platform has no accessibility
// bridge, so Qt raises no accessibility events here; the tree is what counts.)

#include <QAccessible>
#include <QComboBox>
#include <algorithm>
#include <array>

#include "platform/qt/qt_string.h"
#include "tests/platform/qt/accessible_tree.h"
#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

constexpr std::size_t kRefusedFileBytes = 726;
const QString kTooLargeNotice = QStringLiteral("Die Datei ist zu groß für die Verwendung als Face!");

struct ReadOut {
  const char* control;
  QAccessible::Role role;
  const char* name;
};

// The label's name is its report, empty at the start.
constexpr std::array<ReadOut, 13> kReadOuts = {{
    {"lstDrive", QAccessible::ComboBox, "Laufwerk"},
    {"cmdLoad", QAccessible::Button, "Datei laden"},
    {"cmdSave", QAccessible::Button, "Text in Datei speichern"},
    {"cmdPaste", QAccessible::Button, "Text aus Zwischenablage"},
    {"lstDir", QAccessible::List, "Ordner"},
    {"txt", QAccessible::EditableText, "Face-Code"},
    {"lstFile", QAccessible::List, "PNG-Dateien"},
    {"Frame2", QAccessible::Grouping, "Vorschau"},
    {"Frame1", QAccessible::Grouping, "Bildrahmen"},
    {"Picture1", QAccessible::Graphic, "Vorschau"},
    {"Label1", QAccessible::StaticText, ""},
    {"cmdSavePic", QAccessible::Button, "Speichern"},
    {"Command1", QAccessible::Button, "Beenden"},
}};

class AccessibilityTest : public RealWindowTest {
 protected:
  QAccessibleInterface& Window() { return *QAccessible::queryAccessibleInterface(Find<QWidget>("lstFile")->window()); }
  QAccessibleInterface& Control(const char* name) {
    return *QAccessible::queryAccessibleInterface(Find<QWidget>(name));
  }
  std::string Tree() { return TreeText(Window()).toStdString(); }
};

TEST_F(AccessibilityTest, WindowHoldsEveryControlWithItsRoleGermanNameAndDescription) {
  SCOPED_TRACE(Tree());
  EXPECT_EQ(RoleName(Window().role()), "Window");
  EXPECT_EQ(Window().text(QAccessible::Name), Find<QWidget>("lstFile")->window()->windowTitle());
  for (const ControlEntry& control : FrmBase64Table().controls) {
    if (control.kind == ControlKind::kSaveDialog) continue;
    SCOPED_TRACE(control.name);
    const auto expected = std::ranges::find_if(
        kReadOuts, [&control](const ReadOut& readOut) { return readOut.control == control.name; });
    ASSERT_NE(expected, kReadOuts.end()) << "a control without an expected read-out";
    QAccessibleInterface* node = ChildFor(Window(), QString::fromUtf8(expected->control));
    ASSERT_NE(node, nullptr) << "not in the window's tree";
    EXPECT_EQ(RoleName(node->role()), RoleName(expected->role));
    EXPECT_EQ(node->text(QAccessible::Name), QString::fromUtf8(expected->name));
    EXPECT_FALSE(control.accessibleDescription.empty());
    EXPECT_EQ(node->text(QAccessible::Description), ToQString(control.accessibleDescription));
  }
}

TEST_F(AccessibilityTest, FolderListReadsEachFolderByItsNameWithoutIndentationAndItsPath) {
  auto* folders = Find<QListWidget>("lstDir");
  const std::vector<QAccessibleInterface*> entries = ChildrenOf(Control("lstDir"));
  ASSERT_EQ(static_cast<int>(entries.size()), folders->count());
  ASSERT_GE(entries.size(), 2U);
  for (int row = 0; row < folders->count(); ++row) {
    const QString name = entries[static_cast<std::size_t>(row)]->text(QAccessible::Name);
    EXPECT_EQ(name, folders->item(row)->text().trimmed());
    EXPECT_TRUE(entries[static_cast<std::size_t>(row)]->text(QAccessible::Description).endsWith(name));
  }
  EXPECT_EQ(entries[static_cast<std::size_t>(folders->currentRow())]->text(QAccessible::Description),
            ToQString(WorkingFolder()));
}

TEST_F(AccessibilityTest, LabelIsNamedByTheReportItShowsNow) {
  QAccessibleInterface& label = Control("Label1");
  AddFile("small.png", MakePng(4, 4));
  ClickFile("small.png");
  ASSERT_TRUE(Eventually([this] { return Report().contains("Bytes"); }));
  EXPECT_EQ(label.text(QAccessible::Name), Report());

  AddFile("big.png", std::string(kRefusedFileBytes, 'x'));
  ClickFile("big.png");
  ASSERT_TRUE(Eventually([this] { return Report().endsWith(kTooLargeNotice); }));
  EXPECT_EQ(label.text(QAccessible::Name), Report());
}

// Two drives, so that the drive list can change.
class DriveListAccessibilityTest : public RealWindowTest {
 protected:
  DriveListAccessibilityTest() : RealWindowTest({{u"/", u"/dev/vda"}, {u"/tmp", u"tmpfs"}}) {}
};

TEST_F(DriveListAccessibilityTest, IsNamedByWhatItIsValuedByItsEntryAndMarksItInItsList) {
  auto* drives = Find<QComboBox>("lstDrive");
  QAccessibleInterface& list = *QAccessible::queryAccessibleInterface(drives);
  const auto selectedEntries = [&list] {
    QStringList names;
    for (QAccessibleInterface* entry : ChildrenOf(*list.child(0))) {
      if (entry->state().selected) names << entry->text(QAccessible::Name);
    }
    return names;
  };
  SCOPED_TRACE(TreeText(list).toStdString());
  EXPECT_EQ(RoleName(list.role()), "ComboBox");
  EXPECT_EQ(list.text(QAccessible::Name), "Laufwerk");
  EXPECT_EQ(list.text(QAccessible::Value), drives->currentText());
  EXPECT_EQ(selectedEntries(), QStringList{drives->currentText()});

  const QString before = drives->currentText();
  QTest::keyClick(drives, drives->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
  ASSERT_NE(drives->currentText(), before);
  EXPECT_EQ(list.text(QAccessible::Name), "Laufwerk");
  EXPECT_EQ(list.text(QAccessible::Value), drives->currentText());
  EXPECT_EQ(selectedEntries(), QStringList{drives->currentText()});
}

}  // namespace
}  // namespace velmora::test
