// SPDX-License-Identifier: GPL-3.0-or-later
// The real window on Qt's offscreen platform: built from the control table,
// driven by the real window logic or by a recorder of its events, with input
// through QTest and modal boxes answered by timers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/posix/system_folders.h"
#include "platform/qt/name_filters.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_string.h"
#include "platform/text.h"
#include "tests/support/png_maker.h"
#include "tests/support/temp_folder.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace velmora {
namespace {

constexpr int kWaitMs = 5000;

QWidget& TheWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == u"frmBase64") return *widget;
  }
  throw std::runtime_error("no window frmBase64");
}

template <class W = QWidget>
W& Widget(const char* name) {
  auto* widget = TheWindow().findChild<W*>(QString::fromUtf8(name));
  if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
  return *widget;
}

// Once a visible top-level widget of that kind and name shows up, runs the
// action on it. Polls from the event loop, so a modal box never blocks; when
// none shows up in time, fails and closes whatever modal box is open instead.
template <class Dialog>
void WhenShown(const QString& name, std::function<void(Dialog&)> action, int triesLeft = kWaitMs / 10) {
  QTimer::singleShot(10, [name, action, triesLeft] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<Dialog*>(widget);
      if (dialog != nullptr && dialog->objectName() == name && dialog->isVisible()) return action(*dialog);
    }
    if (triesLeft > 0) return WhenShown<Dialog>(name, action, triesLeft - 1);
    ADD_FAILURE() << "no " << name.toStdString() << " showed up";
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
}

// Closes the next message box, keeping its title, text and icon.
struct AnsweredBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool shown = false;
};

std::shared_ptr<AnsweredBox> AnswerNextMessageBox() {
  auto answered = std::make_shared<AnsweredBox>();
  WhenShown<QMessageBox>(QStringLiteral("MsgBox"), [answered](QMessageBox& box) {
    *answered = {box.windowTitle(), box.text(), box.icon(), true};
    box.button(QMessageBox::Ok)->click();
  });
  return answered;
}

bool ActivateWindow() {
  QWidget& window = TheWindow();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

void ClickRow(QListWidget& list, int row) {
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
}

// As a window system delivers it: press, release, double click, release.
void DoubleClickRow(QListWidget& list, int row) {
  const QPoint at = list.visualItemRect(list.item(row)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
}

int RowOfText(const QListWidget& list, const QString& text) {
  for (int row = 0; row < list.count(); ++row) {
    if (list.item(row)->text().trimmed() == text) return row;
  }
  return -1;
}

QRect TableRect(const ControlEntry& control) {
  const auto pixels = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
  return {pixels(control.left), pixels(control.top), pixels(control.width), pixels(control.height)};
}

// A small picture with a different colour in every pixel.
QImage ColourfulPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixelColor(x, y, QColor(40 + 60 * x, 30 + 90 * y, 200));
  }
  return picture;
}

std::u16string SavePicture(const test::TempFolder& folder, const char* name, const QImage& picture) {
  picture.save(QString::fromStdString(folder.Native(name)), "PNG");
  return folder.Path(name);
}

std::u16string FolderPath(const test::TempFolder& folder) { return FromUtf8(folder.path()); }

// ---------------------------------------------------------------------------
// The window with the real logic.

class Window : public ::testing::Test {
 protected:
  Window() { platform_.Start(logic_); }

  QtPlatform platform_{FrmBase64Table()};
  FrmBase64 logic_{platform_.form()};
};

TEST_F(Window, EveryControlSitsAtItsTablePlaceInAFixedClientArea) {
  for (const ControlEntry& control : FrmBase64Table().controls) {
    if (control.kind == ControlKind::kSaveDialog) continue;
    EXPECT_EQ(Widget(control.name.data()).geometry(), TableRect(control)) << control.name;
  }
  const QWidget& window = TheWindow();
  EXPECT_EQ(window.minimumSize(), QSize(468, 517));
  EXPECT_EQ(window.maximumSize(), QSize(468, 517));
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(Window, StartsWithVersionTitleCaptionsAndInitialStates) {
  EXPECT_EQ(TheWindow().windowTitle(), u"Velmora - 1.0.20");
  EXPECT_EQ(Widget<QPushButton>("cmdSave").text(), u"Text in Datei speichern");
  EXPECT_EQ(Widget<QPushButton>("cmdPaste").text(), u"Text aus Zwischenablage");
  EXPECT_EQ(Widget<QPushButton>("cmdSavePic").text(), u"Speichern");
  EXPECT_EQ(Widget<QPushButton>("Command1").text(), u"Beenden");
  EXPECT_EQ(Widget<QGroupBox>("Frame2").title(), u"Vorschau");
  EXPECT_EQ(Widget<QGroupBox>("Frame1").title(), u"");

  EXPECT_FALSE(Widget("cmdSave").isEnabled());
  EXPECT_FALSE(Widget("cmdSavePic").isEnabled());
  EXPECT_TRUE(Widget("cmdPaste").isEnabled());
  EXPECT_FALSE(Widget("cmdLoad").isVisible());
  const auto& label = Widget<QLabel>("Label1");
  EXPECT_EQ(label.text(), u"");
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(255, 0, 0));

  const QList<QSize> iconSizes = TheWindow().windowIcon().availableSizes();
  EXPECT_TRUE(iconSizes.contains(QSize(16, 16)));
  EXPECT_TRUE(iconSizes.contains(QSize(32, 32)));
}

TEST_F(Window, TabFollowsTheTableSkippingHiddenDisabledAndDecorativeControls) {
  ASSERT_TRUE(ActivateWindow());
  ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() == &Widget("lstDrive"); }, kWaitMs));
  for (const char* next : {"lstDir", "lstFile", "txt", "Picture1", "cmdPaste", "Command1", "lstDrive"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &Widget(next)) << "expected " << next;
  }
}

TEST_F(Window, ClickingAPictureFileShowsItsCodePreviewAndReportAndTabSelectsTheCode) {
  test::TempFolder folder;
  const QImage picture = ColourfulPicture(2, 2);
  SavePicture(folder, "face.png", picture);
  platform_.form().lstDir.SetPath(FolderPath(folder));
  auto& files = Widget<QListWidget>("lstFile");
  ASSERT_EQ(files.count(), 1);
  ASSERT_TRUE(ActivateWindow());

  ClickRow(files, 0);

  const auto& text = Widget<QPlainTextEdit>("txt");
  const QByteArray bytes = QByteArray::fromStdString(test::ReadBytes(folder.Native("face.png")));
  EXPECT_EQ(text.toPlainText(), QString::fromLatin1(bytes.toBase64()));
  EXPECT_TRUE(Widget("cmdSave").isEnabled());
  EXPECT_TRUE(Widget("cmdSavePic").isEnabled());
  const auto& label = Widget<QLabel>("Label1");
  EXPECT_TRUE(label.text().startsWith(u"2 x 2\n")) << label.text().toStdString();
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QGuiApplication::palette().color(QPalette::ButtonText));
  const QImage shown = Widget("Picture1").grab().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0), picture.pixelColor(0, 0));
  EXPECT_EQ(shown.pixelColor(1, 1), picture.pixelColor(1, 1));

  QTest::keyClick(&files, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), &text);
  EXPECT_EQ(text.textCursor().selectionStart(), 0);
  EXPECT_EQ(text.textCursor().selectionEnd(), text.toPlainText().size());
  EXPECT_GT(text.toPlainText().size(), 0);
}

TEST_F(Window, BeendenClosesTheWindow) {
  ASSERT_TRUE(TheWindow().isVisible());
  QTest::mouseClick(&Widget("Command1"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([] { return !TheWindow().isVisible(); }, kWaitMs));
}

// ---------------------------------------------------------------------------
// The adapters, with a recorder in place of the logic.

// Records every event raised and runs `inside` in each, after recording.
class RecordingEvents final : public FormEvents {
 public:
  std::vector<std::string> raised;
  std::function<void(const std::string&)> inside;

  [[nodiscard]] long Count(const std::string& event) const { return std::ranges::count(raised, event); }

  void Form_Load() override { Record("Form_Load"); }
  void Command1_Click() override { Record("Command1_Click"); }
  void txt_GotFocus() override { Record("txt_GotFocus"); }
  void txt_Change() override { Record("txt_Change"); }
  void cmdLoad_Click() override { Record("cmdLoad_Click"); }
  void cmdSave_Click() override { Record("cmdSave_Click"); }
  void cmdPaste_Click() override { Record("cmdPaste_Click"); }
  void cmdSavePic_Click() override { Record("cmdSavePic_Click"); }
  void lstFile_Click() override { Record("lstFile_Click"); }
  void lstDir_Change() override { Record("lstDir_Change"); }
  void lstDrive_Change() override { Record("lstDrive_Change"); }
  void lstFile_FitIntoFace(int /*index*/) override { Record("lstFile_FitIntoFace"); }
  void lstFile_FrameIntoFace(int /*index*/) override { Record("lstFile_FrameIntoFace"); }
  void lstFile_CopyXFaceHeader(int /*index*/) override { Record("lstFile_CopyXFaceHeader"); }
  void txt_CopyHeader() override { Record("txt_CopyHeader"); }
  void txt_CopyFoldedHeader() override { Record("txt_CopyFoldedHeader"); }
  void txt_CopyXFaceHeader() override { Record("txt_CopyXFaceHeader"); }
  void txt_PasteXFace() override { Record("txt_PasteXFace"); }
  void txt_PasteClipboardPicture() override { Record("txt_PasteClipboardPicture"); }
  void txt_FrameClipboardPicture() override { Record("txt_FrameClipboardPicture"); }
  bool txt_CopyHeaderAvailable() override { return false; }
  bool txt_ClipboardPictureAvailable() override { return false; }
  void Form_DropFile(const std::u16string& /*path*/) override { Record("Form_DropFile"); }
  ToolTip Label1_ToolTip() override { return {}; }

 private:
  void Record(const std::string& event) {
    raised.push_back(event);
    if (inside) inside(event);
  }
};

TEST(Start, RaisesLoadBeforeShowingTheWindow) {
  RecordingEvents events;
  bool shownAtLoad = true;
  events.inside = [&shownAtLoad](const std::string&) { shownAtLoad = TheWindow().isVisible(); };
  QtPlatform platform(FrmBase64Table());
  platform.Start(events);
  EXPECT_EQ(events.raised, std::vector<std::string>{"Form_Load"});
  EXPECT_FALSE(shownAtLoad);
}

class Adapters : public ::testing::Test {
 protected:
  Adapters() {
    platform_.Start(events_);
    events_.raised.clear();
  }

  QtPlatform platform_{FrmBase64Table()};
  RecordingEvents events_;
  Form& form_ = platform_.form();
};

TEST_F(Adapters, TextBoxRaisesChangeOnceForEachDifferentTextAndNestsWrites) {
  form_.txt.SetText(u"eins");
  form_.txt.SetText(u"eins");
  EXPECT_EQ(events_.Count("txt_Change"), 1);

  std::vector<std::u16string> seen;
  events_.inside = [this, &seen](const std::string&) {
    seen.push_back(form_.txt.Text());
    if (seen.size() == 1) form_.txt.SetText(u"drei");
  };
  form_.txt.SetText(u"zwei");
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"zwei", u"drei"}));
  EXPECT_EQ(form_.txt.Text(), u"drei");
}

TEST_F(Adapters, TextBoxShowsEveryLineBreakAndReadsBackWhatTheLogicWrote) {
  const std::u16string written = u"a\rb\nc\r\nd";
  form_.txt.SetText(written);
  EXPECT_EQ(form_.txt.Text(), written);
  EXPECT_EQ(Widget<QPlainTextEdit>("txt").toPlainText(), u"a\nb\nc\nd");
  EXPECT_EQ(Widget<QPlainTextEdit>("txt").blockCount(), 4);

  const std::u16string withNul(u"x\0y", 3);
  form_.txt.SetTag(withNul);
  EXPECT_EQ(form_.txt.Tag(), withNul);
}

TEST_F(Adapters, TextBoxRaisesChangeOncePerUserEditThatChangesTheText) {
  auto& edit = Widget<QPlainTextEdit>("txt");
  ASSERT_TRUE(ActivateWindow());
  edit.setFocus();
  EXPECT_EQ(events_.Count("txt_GotFocus"), 1);

  QTest::keyClicks(&edit, "ab");
  QTest::keyClick(&edit, Qt::Key_Return);
  QTest::keyClick(&edit, Qt::Key_C);
  EXPECT_EQ(events_.Count("txt_Change"), 4);
  EXPECT_EQ(form_.txt.Text(), u"ab\r\nc");

  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
  QGuiApplication::clipboard()->setText(QStringLiteral("ab\nc"));
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(events_.Count("txt_Change"), 4) << "pasting the same text over itself changes nothing";
  QGuiApplication::clipboard()->setText(QStringLiteral("xyz"));
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(events_.Count("txt_Change"), 5);
  EXPECT_EQ(form_.txt.Text(), u"ab\r\ncxyz");
}

TEST_F(Adapters, TextBoxSelectionCountsCrLfAsTwoCharacters) {
  auto& edit = Widget<QPlainTextEdit>("txt");
  form_.txt.SetText(u"ab\r\ncd");
  form_.txt.SetSelStart(4);
  form_.txt.SetSelLength(2);
  EXPECT_EQ(edit.textCursor().selectedText(), u"cd");
  form_.txt.SetSelStart(0);
  form_.txt.SetSelLength(6);
  EXPECT_EQ(edit.textCursor().selectionStart(), 0);
  EXPECT_EQ(edit.textCursor().selectionEnd(), 5);
}

TEST_F(Adapters, TextBoxTakesAMebibyteOfCodeQuickly) {
  std::u16string code(1 << 20, u'A');
  for (std::size_t at = 76; at < code.size(); at += 78) code.replace(at, 2, u"\r\n");
  QElapsedTimer timer;
  timer.start();
  form_.txt.SetText(code);
  for (int read = 0; read < 10; ++read) ASSERT_EQ(form_.txt.Text().size(), code.size());
  form_.txt.SetSelStart(0);
  form_.txt.SetSelLength(static_cast<int>(code.size()));
  EXPECT_LT(timer.elapsed(), 3000);
}

TEST_F(Adapters, ButtonsRaiseTheirClickAndHandlerErrorsShowInAWarningBox) {
  QTest::mouseClick(&Widget("cmdPaste"), Qt::LeftButton);
  EXPECT_EQ(events_.raised, std::vector<std::string>{"cmdPaste_Click"});

  form_.cmdSave.SetEnabled(true);
  EXPECT_TRUE(form_.cmdSave.Enabled());
  events_.inside = [](const std::string&) { throw Error(kErrPathNotFound); };
  const auto box = AnswerNextMessageBox();
  QTest::mouseClick(&Widget("cmdSave"), Qt::LeftButton);
  EXPECT_TRUE(box->shown);
  EXPECT_EQ(box->text, u"Pfad nicht gefunden");
  EXPECT_EQ(box->icon, QMessageBox::Warning);
}

TEST_F(Adapters, LabelShowsBrokenLinesAndReadsBackItsColour) {
  auto& label = Widget<QLabel>("Label1");
  form_.Label1.SetCaption(u"eins\r\nzwei");
  EXPECT_EQ(form_.Label1.Caption(), u"eins\r\nzwei");
  EXPECT_EQ(label.text(), u"eins\nzwei");

  form_.Label1.SetForeColor(kColorButtonText);
  EXPECT_EQ(form_.Label1.ForeColor(), kColorButtonText);
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QGuiApplication::palette().color(QPalette::ButtonText));
  form_.Label1.SetForeColor(0x00FF8000);
  EXPECT_EQ(form_.Label1.ForeColor(), 0x00FF8000u);
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0x00, 0x80, 0xFF));
}

TEST_F(Adapters, FileListRaisesClickForUserSelectionsOnly) {
  test::TempFolder folder;
  for (const char* name : {"a.png", "b.png", "c.png"}) SavePicture(folder, name, ColourfulPicture(1, 1));
  auto& list = Widget<QListWidget>("lstFile");
  ASSERT_TRUE(ActivateWindow());

  form_.lstFile.SetPath(FolderPath(folder));
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(form_.lstFile.ListIndex(), -1);

  ClickRow(list, 1);
  EXPECT_EQ(events_.Count("lstFile_Click"), 1);
  EXPECT_EQ(form_.lstFile.FileName(), u"b.png");

  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(events_.Count("lstFile_Click"), 2);
  EXPECT_EQ(form_.lstFile.ListIndex(), 2);

  form_.lstFile.Refresh();
  EXPECT_EQ(form_.lstFile.ListIndex(), 2);
  EXPECT_EQ(list.currentRow(), 2);

  form_.lstFile.SetSelected(2, false);
  EXPECT_EQ(form_.lstFile.ListIndex(), -1);
  EXPECT_TRUE(list.selectedItems().isEmpty());
  form_.lstFile.SetSelected(0, true);
  EXPECT_EQ(form_.lstFile.FileName(), u"a.png");
  EXPECT_EQ(list.currentRow(), 0);
  form_.lstFile.SetPath(FolderPath(folder));
  EXPECT_EQ(events_.Count("lstFile_Click"), 2);
}

TEST_F(Adapters, FolderListOpensEntriesAndOneThatVanishedOpensTheFolderAbove) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder.Native("sub"));
  std::filesystem::create_directory(folder.Native("gone"));
  auto& list = Widget<QListWidget>("lstDir");

  form_.lstDir.SetPath(FolderPath(folder));
  form_.lstDir.SetPath(FolderPath(folder));
  EXPECT_EQ(events_.Count("lstDir_Change"), 1);
  EXPECT_EQ(form_.lstDir.Path(), FolderPath(folder));
  EXPECT_THROW(form_.lstDir.SetPath(folder.Path("missing")), Error);

  std::filesystem::remove(folder.Native("gone"));
  list.setCurrentRow(RowOfText(list, QStringLiteral("gone")));
  QTest::keyClick(&list, Qt::Key_Return);
  EXPECT_EQ(form_.lstDir.Path(), FolderPath(folder));
  EXPECT_TRUE(list.findItems(QStringLiteral("gone"), Qt::MatchEndsWith).isEmpty());
  EXPECT_EQ(events_.Count("lstDir_Change"), 1);

  DoubleClickRow(list, RowOfText(list, QStringLiteral("sub")));
  EXPECT_EQ(form_.lstDir.Path(), folder.Path("sub"));
  EXPECT_EQ(events_.Count("lstDir_Change"), 2);
  EXPECT_TRUE(list.currentItem()->text().endsWith(u"sub"));

  form_.lstDir.SetEnabled(false);
  EXPECT_FALSE(list.isEnabled());
}

TEST_F(Adapters, DriveListMirrorsTheSystemsVolumes) {
  const auto& combo = Widget<QComboBox>("lstDrive");
  const std::vector<Volume> volumes = SystemVolumes();
  ASSERT_EQ(combo.count(), static_cast<int>(volumes.size()));
  for (int at = 0; at < combo.count(); ++at)
    EXPECT_EQ(combo.itemText(at), ToQString(DriveTextOf(volumes[static_cast<std::size_t>(at)])));
  EXPECT_EQ(combo.currentText(), ToQString(form_.lstDrive.Drive()));

  form_.lstDrive.SetDrive(form_.lstDrive.Drive());
  form_.lstDrive.SetDrive(form_.lstDir.Path());
  EXPECT_EQ(events_.Count("lstDrive_Change"), 0);
}

struct DialogSeen {
  QString title;
  QStringList nameFilters;
  QString folder;
  bool confirmsOverwrite = false;
};

TEST_F(Adapters, SaveDialogOpensAsSetUpAndReportsTheChoice) {
  test::TempFolder folder;
  SaveDialog& dialog = form_.CommonDialog1;
  dialog.SetCancelError(true);
  dialog.SetFlags(kDialogOverwritePrompt);
  dialog.SetDialogTitle(u"Face-Code speichern");
  dialog.SetFilter(u"Textdateien (*.txt)|*.txt");
  dialog.SetFileName(folder.Path("face.txt"));

  DialogSeen seen;
  WhenShown<QFileDialog>(QStringLiteral("CommonDialog1"), [&seen](QFileDialog& shown) {
    seen = {shown.windowTitle(), shown.nameFilters(), shown.directory().absolutePath(),
            !shown.testOption(QFileDialog::DontConfirmOverwrite)};
    static_cast<QDialog&>(shown).accept();  // the OK button
  });
  dialog.ShowSave();
  EXPECT_EQ(seen.title, u"Face-Code speichern");
  EXPECT_EQ(seen.nameFilters, QStringList{QStringLiteral("Textdateien (*.txt)")});
  EXPECT_EQ(seen.folder, QString::fromStdString(folder.path()));
  EXPECT_TRUE(seen.confirmsOverwrite);
  EXPECT_EQ(dialog.FileName(), folder.Path("face.txt"));
}

TEST_F(Adapters, SaveDialogCancelRaises32755OrEmptiesTheName) {
  SaveDialog& dialog = form_.CommonDialog1;
  const auto cancel = [](QFileDialog& shown) { shown.reject(); };
  dialog.SetCancelError(true);
  dialog.SetFileName(u"face.txt");
  WhenShown<QFileDialog>(QStringLiteral("CommonDialog1"), cancel);
  try {
    dialog.ShowSave();
    ADD_FAILURE() << "no error raised";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), kErrCancel);
  }
  EXPECT_EQ(dialog.FileName(), u"face.txt");

  dialog.SetCancelError(false);
  dialog.SetFlags(0);
  bool confirmsOverwrite = true;
  WhenShown<QFileDialog>(QStringLiteral("CommonDialog1"), [&confirmsOverwrite](QFileDialog& shown) {
    confirmsOverwrite = !shown.testOption(QFileDialog::DontConfirmOverwrite);
    shown.reject();
  });
  dialog.ShowSave();
  EXPECT_EQ(dialog.FileName(), u"");
  EXPECT_FALSE(confirmsOverwrite);
}

TEST_F(Adapters, MessageBoxesShowThePromptUnderTheProgramsName) {
  auto box = AnswerNextMessageBox();
  form_.Messages.MsgBox(u"eins\r\nzwei", kMsgBoxExclamation);
  EXPECT_TRUE(box->shown);
  EXPECT_EQ(box->title, u"Velmora");
  EXPECT_EQ(box->text, u"eins\nzwei");
  EXPECT_EQ(box->icon, QMessageBox::Warning);

  box = AnswerNextMessageBox();
  form_.Messages.MsgBox(u"Hinweis", kMsgBoxOkOnly);
  EXPECT_EQ(box->icon, QMessageBox::NoIcon);
}

TEST_F(Adapters, PictureLibraryDrawsAPictureIntoTheBoxUntilItIsCleared) {
  test::TempFolder folder;
  const QImage picture = ColourfulPicture(3, 2);
  PictureLibrary& library = form_.Pictures;
  std::unique_ptr<Image> image;
  ASSERT_EQ(library.LoadImageFromFile(SavePicture(folder, "p.png", picture), image), kPictureOk);
  float width = 0;
  float height = 0;
  ASSERT_EQ(library.GetImageDimension(*image, width, height), kPictureOk);
  EXPECT_EQ(width, 3.0f);
  EXPECT_EQ(height, 2.0f);
  const QColor background = Widget("Picture1").grab().toImage().pixelColor(20, 20);

  std::unique_ptr<Graphics> graphics;
  ASSERT_EQ(library.CreateFromHDC(form_.Picture1.hDC(), graphics), kPictureOk);
  ASSERT_EQ(library.DrawImageRect(*graphics, *image, 1, 1, width, height), kPictureOk);
  graphics.reset();
  QImage shown = Widget("Picture1").grab().toImage();
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(shown.pixelColor(x + 1, y + 1), picture.pixelColor(x, y));
  }
  EXPECT_EQ(shown.pixelColor(0, 0), background);

  form_.Picture1.ClearPicture();
  shown = Widget("Picture1").grab().toImage();
  EXPECT_EQ(shown.pixelColor(1, 1), background);
  EXPECT_EQ(form_.Picture1.ScaleX(48), 720.0f);
  EXPECT_EQ(form_.Picture1.ScaleY(2), 30.0f);
}

TEST_F(Adapters, PictureLibraryRefusesNonPicturesAndHugePicturesQuickly) {
  test::TempFolder folder;
  PictureLibrary& library = form_.Pictures;
  std::unique_ptr<Image> image;
  EXPECT_NE(library.LoadImageFromFile(folder.Path("missing.png"), image), kPictureOk);
  EXPECT_NE(library.LoadImageFromFile(FromUtf8(folder.Write("text.png", "kein Bild")), image), kPictureOk);

  const std::string bomb = folder.Write("bomb.png", test::MakeDecompressionBomb(20000, 20000));
  QElapsedTimer timer;
  timer.start();
  EXPECT_NE(library.LoadImageFromFile(FromUtf8(bomb), image), kPictureOk);
  EXPECT_LT(timer.elapsed(), 1000);
  EXPECT_EQ(image, nullptr);
}

TEST_F(Adapters, ServicesReportVersionFolderAndRunPendingEvents) {
  EXPECT_EQ(form_.App.Major(), 1);
  EXPECT_EQ(form_.App.Minor(), 0);
  EXPECT_EQ(form_.App.Revision(), 20);
  EXPECT_EQ(form_.App.Path(), FromQString(QCoreApplication::applicationDirPath()));
  EXPECT_EQ(form_.App.DecimalSeparator(), u'.');  // the tests run in the C locale

  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  form_.Events.DoEvents();
  EXPECT_TRUE(ran);
}

TEST_F(Adapters, HourglassShowsUntilTheDefaultPointerReturns) {
  form_.frmBase64.SetMousePointer(MousePointer::kHourglass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  form_.frmBase64.SetMousePointer(MousePointer::kDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // Restoring never takes away a cursor the window did not set.
  QGuiApplication::setOverrideCursor(Qt::CrossCursor);
  form_.frmBase64.SetMousePointer(MousePointer::kDefault);
  EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
  QGuiApplication::restoreOverrideCursor();
}

TEST_F(Adapters, UnloadClosesTheWindow) {
  form_.frmBase64.SetCaption(u"Velmora - Test");
  EXPECT_EQ(form_.frmBase64.Caption(), u"Velmora - Test");
  form_.frmBase64.Unload();
  EXPECT_FALSE(TheWindow().isVisible());
}

// ---------------------------------------------------------------------------
// The text helpers behind the adapters.

TEST(NameFilters, MakeOneQtFilterPerPair) {
  EXPECT_EQ(NameFilters(u"Textdateien (*.txt)|*.txt"), std::vector<std::u16string>{u"Textdateien (*.txt)"});
  EXPECT_EQ(NameFilters(u"Bilder|*.png;*.gif|Alle Dateien (*.*)|*.*"),
            (std::vector<std::u16string>{u"Bilder (*.png *.gif)", u"Alle Dateien (*.*)"}));
  EXPECT_TRUE(NameFilters(u"").empty());
}

}  // namespace
}  // namespace velmora
