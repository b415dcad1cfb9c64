// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology reads out of the real window: every control's
// German name and description, and the label's report as the label's name.

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>

#include "platform/qt/qt_string.h"
#include "tests/platform/qt/real_window_fixture.h"

namespace velmora::test {
namespace {

using AccessibilityTest = RealWindowTest;

constexpr std::size_t kRefusedFileBytes = 726;
const QString kTooLargeNotice = QStringLiteral("Die Datei ist zu groß für die Verwendung als Face!");

QString ReadOut(QWidget* widget, QAccessible::Text text) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible == nullptr ? QStringLiteral("<not accessible>") : accessible->text(text);
}

TEST_F(AccessibilityTest, EveryControlIsReadOutWithItsTablesNameAndDescription) {
  for (const ControlEntry& control : FrmBase64Table().controls) {
    if (control.kind == ControlKind::kSaveDialog) continue;
    SCOPED_TRACE(control.name);
    QWidget* widget = Find<QWidget>(control.name.data());
    ASSERT_NE(widget, nullptr);
    EXPECT_FALSE(control.accessibleDescription.empty());
    EXPECT_EQ(ReadOut(widget, QAccessible::Description), ToQString(control.accessibleDescription));
    EXPECT_EQ(widget->accessibleName(), ToQString(control.accessibleName));
    // The label is named by its report, below.
    EXPECT_EQ(control.accessibleName.empty(), control.kind == ControlKind::kLabel);
  }
}

TEST_F(AccessibilityTest, ButtonsAndFramesAreReadOutByTheCaptionsOnScreen) {
  for (const char* name : {"cmdLoad", "cmdSave", "cmdPaste", "cmdSavePic", "Command1"}) {
    QPushButton* button = Find<QPushButton>(name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ReadOut(button, QAccessible::Name), button->text()) << name;
  }
  EXPECT_EQ(ReadOut(Find<QGroupBox>("Frame2"), QAccessible::Name), Find<QGroupBox>("Frame2")->title());
}

TEST_F(AccessibilityTest, ListsCodeBoxAndPreviewAreReadOutByWhatTheyHold) {
  // On Linux Qt reads a drop-down list out by its current entry; other
  // systems use the name.
  auto* drives = Find<QComboBox>("lstDrive");
  EXPECT_EQ(drives->accessibleName(), "Laufwerk");
  EXPECT_EQ(ReadOut(drives, QAccessible::Name), drives->currentText());
  EXPECT_EQ(ReadOut(Find<QWidget>("lstDir"), QAccessible::Name), "Ordner");
  EXPECT_EQ(ReadOut(Find<QWidget>("lstFile"), QAccessible::Name), "PNG-Dateien");
  EXPECT_EQ(ReadOut(Find<QWidget>("txt"), QAccessible::Name), "Face-Code");
  EXPECT_EQ(ReadOut(Find<QWidget>("Picture1"), QAccessible::Name), "Vorschau");
  EXPECT_EQ(ReadOut(Find<QWidget>("Label1"), QAccessible::Description), "Bildgröße und Codelänge");
}

TEST_F(AccessibilityTest, LabelIsReadOutAsTheReportItShows) {
  auto* label = Find<QLabel>("Label1");
  AddFile("small.png", MakePng(4, 4));
  ClickFile("small.png");
  ASSERT_TRUE(Eventually([this] { return !Report().isEmpty(); }));
  EXPECT_TRUE(Report().contains("Bytes"));
  EXPECT_EQ(ReadOut(label, QAccessible::Name), Report());

  AddFile("big.png", std::string(kRefusedFileBytes, 'x'));
  ClickFile("big.png");
  ASSERT_TRUE(Eventually([this] { return Report().endsWith(kTooLargeNotice); }));
  EXPECT_EQ(ReadOut(label, QAccessible::Name), Report());
}

}  // namespace
}  // namespace velmora::test
