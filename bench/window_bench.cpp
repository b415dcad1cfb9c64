// SPDX-License-Identifier: GPL-3.0-or-later
// The real window under load, each figure next to a reference measured in
// the same run on the same machine: a window of bare Qt widgets of the same
// kinds and sizes, with nothing of Velmora's code, making the same visible
// change, painted.
//   start-up to first paint and peak memory   the bare window shown with its lists filled as
//                                             Velmora's are: the mounted volumes, the working
//                                             folder's path and subfolders, its *.png files
//   click on a 725-byte PNG to preview drawn  a list selection, setPlainText of the code,
//                                             the file read, decoded and drawn into a 49 x 49 widget
//   one keystroke completing a 968-character code
//                                             one key into the text box, then decode and draw
//   paste of a folded header (five previews)  one setPlainText of the cleaned code, decode and draw
//   paste of a 1 MiB code that is no picture  one setPlainText of the same text
// Run it with QT_QPA_PLATFORM=offscreen (make bench does).

#include <zlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "platform/qt/qt_platform.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace velmora::bench {
namespace {

constexpr int kRuns = 15;
constexpr int kStartupRuns = 15;  // each a process of its own, whose time varies more
constexpr qsizetype kFaceFileBytes = 725;

// The median of the action's wall time in microseconds over `runs` runs;
// the preparation before each run is not timed.
double MedianMicros(const std::function<void()>& action, int runs = kRuns,
                    const std::function<void()>& prepare = [] {}) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    QElapsedTimer timer;
    timer.start();
    action();
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[static_cast<std::size_t>(runs / 2)];
}

struct Row {
  std::string figure;
  double velmora;
  double reference;
  std::string unit;
  double goal;  // the largest acceptable velmora / reference
};

void PrintTable(const std::vector<Row>& rows) {
  std::printf("\n| figure | Velmora | reference | ratio | goal |\n|---|---|---|---|---|\n");
  for (const Row& row : rows) {
    const double ratio = row.velmora / row.reference;
    std::printf("| %s | %.1f %s | %.1f %s | %.2f | <= %.2f %s |\n", row.figure.c_str(), row.velmora, row.unit.c_str(),
                row.reference, row.unit.c_str(), ratio, row.goal, ratio <= row.goal ? "met" : "MISSED");
  }
}

void AppendBigEndian32(QByteArray& out, quint32 value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.append(static_cast<char>((value >> shift) & 0xFF));
}

// A real picture with a comment chunk that pads it to exactly 725 bytes.
QByteArray FaceSizedPng() {
  constexpr qsizetype kChunkOverhead = 12;  // length, type, CRC
  constexpr qsizetype kEndChunkBytes = 12;
  QImage picture(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) picture.setPixel(x, y, qRgb(x * 8, y * 8, 128));
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, "png").write(picture);

  const QByteArray text = "Comment" + QByteArray(1, '\0') +
                          QByteArray(kFaceFileBytes - png.size() - kChunkOverhead - 8, 'x');
  const QByteArray typed = "tEXt" + text;
  QByteArray chunk;
  AppendBigEndian32(chunk, static_cast<quint32>(text.size()));
  chunk += typed;
  AppendBigEndian32(chunk, static_cast<quint32>(
                               ::crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), static_cast<uInt>(typed.size()))));
  png.insert(png.size() - kEndChunkBytes, chunk);
  if (png.size() != kFaceFileBytes) qFatal("the padded picture is %lld bytes", static_cast<long long>(png.size()));
  return png;
}

std::u16string ByteString(const QByteArray& bytes) {
  return BytesToByteString({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
}

std::u16string CodeOf(const QByteArray& bytes) { return modBase64::EncodeBase64(ByteString(bytes)); }

// Closes every message box as soon as it opens.
void KeepClosingMessageBoxes() {
  QTimer::singleShot(1, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    KeepClosingMessageBoxes();
  });
}

// A plain widget that paints one picture.
class PictureWidget : public QWidget {
 public:
  using QWidget::QWidget;
  QImage picture;

 protected:
  void paintEvent(QPaintEvent* /*event*/) override { QPainter(this).drawImage(0, 0, picture); }
};

// A text box set up as the window's is: a code, which has no spaces, wraps
// anywhere, the scroll bar is always there, and Latin text needs no shaping.
QPlainTextEdit* NewCodeBox(QWidget& window) {
  auto* box = new QPlainTextEdit(&window);
  box->setWordWrapMode(QTextOption::WrapAnywhere);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont unshaped = window.font();
  unshaped.setStyleStrategy(QFont::PreferNoShaping);
  box->setFont(unshaped);
  return box;
}

// One widget for each control of the window's table, of the same kind, place
// and size, in a window of the same size and font; by control name.
std::map<std::string, QWidget*> BuildBareWindow(QWidget& window) {
  QFont font = QApplication::font();
  font.setPointSizeF(8);
  window.setFont(font);
  std::map<std::string, QWidget*> widgets;
  for (const ControlEntry& control : FrmBase64Table().controls) {
    const QString caption = QString::fromStdU16String(std::u16string(control.caption));
    QWidget* widget = nullptr;
    switch (control.kind) {
      case ControlKind::kDriveList: widget = new QComboBox(&window); break;
      case ControlKind::kCommandButton: widget = new QPushButton(caption, &window); break;
      case ControlKind::kFolderList:
      case ControlKind::kFileList: widget = new QListWidget(&window); break;
      case ControlKind::kTextBox: widget = NewCodeBox(window); break;
      case ControlKind::kFrame: widget = new QGroupBox(caption, &window); break;
      case ControlKind::kPictureBox: widget = new PictureWidget(&window); break;
      case ControlKind::kLabel: widget = new QLabel(&window); break;
      case ControlKind::kSaveDialog: continue;
    }
    widget->setGeometry(control.left / 15, control.top / 15, control.width / 15, control.height / 15);
    widget->setVisible(control.visible);
    widgets[std::string(control.name)] = widget;
  }
  window.setFixedSize(FrmBase64Table().clientWidth / 15, FrmBase64Table().clientHeight / 15);
  return widgets;
}

// The same window of bare widgets, reacting as a plain Qt program would: a
// click on a file shows its code and picture, a typed or pasted code that
// looks like a PNG's is decoded and drawn.
class ReferenceWindow {
 public:
  explicit ReferenceWindow(const QString& folder) : folder_(folder), widgets_(BuildBareWindow(window_)) {
    files().addItem("face.png");
    QObject::connect(&files(), &QListWidget::itemClicked, [this](QListWidgetItem* item) { ShowFile(item->text()); });
    QObject::connect(&code(), &QPlainTextEdit::textChanged, [this] { DecodeTypedCode(); });
    QObject::connect(&Widget<QPushButton>("cmdPaste"), &QPushButton::clicked, [this] { Paste(); });
    window_.show();
    QApplication::processEvents();
  }

  template <class W>
  W& Widget(const std::string& name) {
    return *static_cast<W*>(widgets_.at(name));
  }
  QListWidget& files() { return Widget<QListWidget>("lstFile"); }
  QPlainTextEdit& code() { return Widget<QPlainTextEdit>("txt"); }

  void ClickFile() {
    QTest::mouseClick(files().viewport(), Qt::LeftButton, {}, files().visualItemRect(files().item(0)).center());
  }

 private:
  void ShowFile(const QString& name) {
    QFile file(folder_ + "/" + name);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    code().setPlainText(QString::fromLatin1(bytes.toBase64()));
    Draw(bytes);
  }

  void DecodeTypedCode() {
    if (!files().selectedItems().isEmpty() || !code().toPlainText().startsWith("iVBORw0KGgo")) return;
    Draw(QByteArray::fromBase64(code().toPlainText().toLatin1()));
  }

  void Paste() {
    files().clearSelection();
    QString text = QGuiApplication::clipboard()->text();
    text.remove(' ').remove("\r\n");
    if (text.startsWith("Face:")) text.remove(0, 5);
    code().setPlainText(text);
  }

  void Draw(const QByteArray& png) {
    auto& preview = Widget<PictureWidget>("Picture1");
    preview.picture.loadFromData(png, "PNG");
    preview.update();
    Widget<QLabel>("Label1").setText(QString("%1 x %2\n%3 Bytes\n\nFace Size: \n%4 Zeichen")
                                         .arg(preview.picture.width())
                                         .arg(preview.picture.height())
                                         .arg(png.size())
                                         .arg(code().toPlainText().size()));
  }

  QString folder_;
  QWidget window_;
  std::map<std::string, QWidget*> widgets_;
};

class WindowUnderTest {
 public:
  explicit WindowUnderTest(const QString& folder) {
    QDir::setCurrent(folder);
    platform_ = std::make_unique<QtPlatform>(FrmBase64Table());
    logic_ = std::make_unique<FrmBase64>(platform_->form());
    platform_->Start(*logic_);
  }

  template <class W>
  W& Widget(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* widget = window->findChild<W*>(name)) return *widget;
    }
    qFatal("no widget %s", name);
  }

  Form& form() { return platform_->form(); }

  void ClickFile(int row) {
    auto& list = Widget<QListWidget>("lstFile");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
  }

 private:
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<FrmBase64> logic_;
};

// The median time of an input until its change is painted, in the real
// window and in the reference, each prepared the same way before each run.
Row Measured(const char* figure, const std::function<void()>& velmora, const std::function<void()>& reference,
             const std::function<void()>& prepare, double goal, int runs = kRuns) {
  const auto painted = [](const std::function<void()>& input) {
    return [input] {
      input();
      QApplication::processEvents();
    };
  };
  const auto prepared = [&prepare] {
    prepare();
    QApplication::processEvents();
  };
  return {figure, MedianMicros(painted(velmora), runs, prepared), MedianMicros(painted(reference), runs, prepared),
          "us", goal};
}

Row ClickRow(WindowUnderTest& window, ReferenceWindow& reference) {
  return Measured(
      "click on a 725-byte PNG to preview drawn", [&] { window.ClickFile(0); }, [&] { reference.ClickFile(); },
      // Each click brings the code into an empty box.
      [&] {
        window.form().lstFile.SetSelected(window.form().lstFile.ListIndex(), false);
        window.form().txt.SetText(u"");
        reference.files().clearSelection();
        reference.code().clear();
      },
      1.5);
}

Row KeystrokeRow(WindowUnderTest& window, ReferenceWindow& reference, const std::u16string& code) {
  auto& box = window.Widget<QPlainTextEdit>("txt");
  const QString allButTheLast = QString::fromStdU16String(code.substr(0, code.size() - 1));
  const char last = static_cast<char>(code.back());
  return Measured(
      "one keystroke completing a 968-character code", [&] { QTest::keyClick(&box, last); },
      [&] { QTest::keyClick(&reference.code(), last); },
      [&] {
        // A selected entry keeps the incomplete code from being decoded.
        window.ClickFile(0);
        window.form().txt.SetText(allButTheLast.toStdU16String());
        window.form().lstFile.SetSelected(window.form().lstFile.ListIndex(), false);
        box.setFocus();
        box.moveCursor(QTextCursor::End);
        reference.files().clearSelection();
        reference.code().setPlainText(allButTheLast);
        reference.code().moveCursor(QTextCursor::End);
      },
      1.5);
}

Row PasteRow(const char* figure, WindowUnderTest& window, ReferenceWindow& reference, const QString& clipboard,
             double goal, int runs) {
  return Measured(
      figure, [&] { QTest::mouseClick(&window.Widget<QPushButton>("cmdPaste"), Qt::LeftButton); },
      [&] { QTest::mouseClick(&reference.Widget<QPushButton>("cmdPaste"), Qt::LeftButton); },
      [&] {
        window.form().txt.SetText(u"");
        reference.code().clear();
        QGuiApplication::clipboard()->setText(clipboard);
      },
      goal, runs);
}

QString FoldedHeader(const std::u16string& code) {
  const QString text = QString::fromStdU16String(code);
  const qsizetype third = text.size() / 3;
  return "Face: " + text.left(third) + "\r\n " + text.mid(third, third) + "\r\n " + text.mid(2 * third);
}

QString MegabyteCodeOfNoPicture() {
  QString code(qsizetype{1} << 20, u'A');
  for (qsizetype i = 0; i < code.size(); i += 76) code[i] = u'Q';
  return code;
}

// The visible work of Velmora's start-up, done the plain Qt way: the drive
// list offers the mounted volumes, the folder list the working folder's path
// and its subfolders, the file list its PNG files, each sorted.
void FillBareLists(const std::map<std::string, QWidget*>& widgets) {
  auto* drives = static_cast<QComboBox*>(widgets.at("lstDrive"));
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) drives->addItem(volume.rootPath());
  const QDir working = QDir::current();
  auto* folders = static_cast<QListWidget*>(widgets.at("lstDir"));
  folders->addItems(working.absolutePath().split('/', Qt::SkipEmptyParts));
  folders->addItems(working.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
  auto* files = static_cast<QListWidget*>(widgets.at("lstFile"));
  files->addItems(working.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

// --startup velmora|bare: builds the window, shows it, and prints the time to
// its first paint and the process's peak memory.
int StartupChild(int argc, char** argv, bool bare) {
  QElapsedTimer timer;
  timer.start();
  QApplication app(argc, argv);
  std::unique_ptr<QtPlatform> platform;
  std::unique_ptr<FrmBase64> logic;
  std::unique_ptr<QWidget> bareWindow;
  QWidget* shown = nullptr;
  if (bare) {
    bareWindow = std::make_unique<QWidget>();
    FillBareLists(BuildBareWindow(*bareWindow));
    bareWindow->show();
    shown = bareWindow.get();
  } else {
    platform = std::make_unique<QtPlatform>(FrmBase64Table());
    logic = std::make_unique<FrmBase64>(platform->form());
    platform->Start(*logic);
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible()) shown = window;
    }
  }
  // The first paint has happened once the backing store holds the window.
  while (!shown->isVisible() || shown->grab().isNull()) QApplication::processEvents();
  QApplication::processEvents();
  const double millis = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("%.3f %ld\n", millis, usage.ru_maxrss);
  return 0;
}

std::pair<double, double> MedianStartup(const std::string& self, const char* kind) {
  std::vector<double> times;
  std::vector<double> memories;
  for (int i = 0; i < kStartupRuns; ++i) {
    const std::string command = self + " --startup " + kind;
    FILE* child = ::popen(command.c_str(), "r");
    double millis = 0;
    long kilobytes = 0;
    if (child == nullptr || std::fscanf(child, "%lf %ld", &millis, &kilobytes) != 2) qFatal("start-up run failed");
    ::pclose(child);
    times.push_back(millis);
    memories.push_back(static_cast<double>(kilobytes) / 1024.0);
  }
  std::sort(times.begin(), times.end());
  std::sort(memories.begin(), memories.end());
  return {times[kStartupRuns / 2], memories[kStartupRuns / 2]};
}

int Measure(int argc, char** argv) {
  const std::string self = argv[0];
  const auto [startup, memory] = MedianStartup(self, "velmora");
  const auto [bareStartup, bareMemory] = MedianStartup(self, "bare");

  QApplication app(argc, argv);
  KeepClosingMessageBoxes();
  QTemporaryDir folder;
  const QByteArray png = FaceSizedPng();
  QFile file(folder.filePath("face.png"));
  file.open(QIODevice::WriteOnly);
  file.write(png);
  file.close();
  WindowUnderTest window(folder.path());
  ReferenceWindow reference(folder.path());
  const std::u16string code = CodeOf(png);

  const std::vector<Row> rows = {
      {"start-up to first paint", startup, bareStartup, "ms", 1.15},
      {"peak memory", memory, bareMemory, "MiB", 1.1},
      ClickRow(window, reference),
      KeystrokeRow(window, reference, code),
      PasteRow("paste of a folded header (five previews)", window, reference, FoldedHeader(code), 3.0, kRuns),
      PasteRow("paste of a 1 MiB code that is no picture", window, reference, MegabyteCodeOfNoPicture(), 2.0, 5),
  };
  PrintTable(rows);
  return 0;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--startup") {
    return velmora::bench::StartupChild(argc, argv, std::string(argv[2]) == "bare");
  }
  return velmora::bench::Measure(argc, argv);
}
