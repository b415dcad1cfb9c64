// The real window under load, each figure next to a reference measured in
// the same run on the same machine:
//   start-up to first paint and peak memory   vs a bare window with the same widgets
//   click on a 725-byte PNG to preview drawn  vs reading + decoding + drawing that file alone
//   one keystroke completing a 968-character code, live decoding and preview
//                                             vs decoding + drawing the picture from memory
//   paste of a folded header (five previews)  vs the same reference
//   paste of a 1 MiB code that is no picture  vs DecodeBase64 of the same text
//   EncodeBase64 / DecodeBase64               vs OpenSSL's EVP_EncodeBlock / EVP_DecodeBlock
// Run it with QT_QPA_PLATFORM=offscreen (make bench does).

#include <openssl/evp.h>
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
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_system.h"
#include "platform/qt/qt_platform.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace velmora::bench {
namespace {

constexpr int kRuns = 15;
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
    std::printf("| %s | %.1f %s | %.1f %s | %.2f | <= %.1f %s |\n", row.figure.c_str(), row.velmora, row.unit.c_str(),
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

// Decoding a code and drawing its picture, from memory: what a preview costs
// at the least.
void DecodeAndDraw(const std::u16string& code, QImage& canvas) {
  const std::string bytes = ByteStringToBytes(modBase64::DecodeBase64(code));
  QImage picture;
  picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "PNG");
  QPainter(&canvas).drawImage(0, 0, picture);
}

// Closes every message box as soon as it opens.
void KeepClosingMessageBoxes() {
  QTimer::singleShot(1, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    KeepClosingMessageBoxes();
  });
}

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

Row ClickRow(WindowUnderTest& window, const QString& path) {
  QImage canvas(49, 49, QImage::Format_ARGB32_Premultiplied);
  const auto deselect = [&] {
    window.form().lstFile.SetSelected(window.form().lstFile.ListIndex(), false);
    QApplication::processEvents();
  };
  const double click = MedianMicros(
      [&] {
        window.ClickFile(0);
        QApplication::processEvents();
      },
      kRuns, deselect);
  const double reference = MedianMicros([&] {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QImage picture;
    picture.loadFromData(file.readAll(), "PNG");
    QPainter(&canvas).drawImage(0, 0, picture);
  });
  return {"click on a 725-byte PNG to preview drawn", click, reference, "us", 2.0};
}

Row KeystrokeRow(WindowUnderTest& window, const std::u16string& code) {
  auto& box = window.Widget<QPlainTextEdit>("txt");
  QImage canvas(49, 49, QImage::Format_ARGB32_Premultiplied);
  const auto typeAllButTheLastCharacter = [&] {
    // A selected entry keeps the incomplete code from being decoded.
    window.ClickFile(0);
    window.form().txt.SetText(code.substr(0, code.size() - 1));
    window.form().lstFile.SetSelected(window.form().lstFile.ListIndex(), false);
    box.setFocus();
    box.moveCursor(QTextCursor::End);
    QApplication::processEvents();
  };
  const double keystroke = MedianMicros(
      [&] {
        QTest::keyClick(&box, static_cast<char>(code.back()));
        QApplication::processEvents();
      },
      kRuns, typeAllButTheLastCharacter);
  const double reference = MedianMicros([&] { DecodeAndDraw(code, canvas); });
  return {"one keystroke completing a 968-character code", keystroke, reference, "us", 3.0};
}

Row FoldedPasteRow(WindowUnderTest& window, const std::u16string& code) {
  const QString text = QString::fromStdU16String(code);
  const qsizetype third = text.size() / 3;
  const QString folded = "Face: " + text.left(third) + "\r\n " + text.mid(third, third) + "\r\n " + text.mid(2 * third);
  QImage canvas(49, 49, QImage::Format_ARGB32_Premultiplied);
  const auto emptyTheBox = [&] {
    window.form().txt.SetText(u"");
    QGuiApplication::clipboard()->setText(folded);
    QApplication::processEvents();
  };
  const double paste = MedianMicros(
      [&] {
        QTest::mouseClick(&window.Widget<QPushButton>("cmdPaste"), Qt::LeftButton);
        QApplication::processEvents();
      },
      kRuns, emptyTheBox);
  const double reference = MedianMicros([&] { DecodeAndDraw(code, canvas); });
  return {"paste of a folded header (five previews)", paste, reference, "us", 6.0};
}

std::u16string MegabyteCodeOfNoPicture() {
  std::u16string code(std::size_t{1} << 20, u'A');
  for (std::size_t i = 0; i < code.size(); i += 76) code[i] = u'Q';
  return code;
}

std::vector<Row> LargePasteRows(WindowUnderTest& window) {
  const std::u16string code = MegabyteCodeOfNoPicture();
  const QString text = QString::fromStdU16String(code);
  const double reference = MedianMicros([&] { (void)modBase64::DecodeBase64(code); }, 5);
  const double paste = MedianMicros(
      [&] {
        QTest::mouseClick(&window.Widget<QPushButton>("cmdPaste"), Qt::LeftButton);
        QApplication::processEvents();  // the box lays out and paints the text
      },
      5, [&] {
        window.form().txt.SetText(u"");
        QGuiApplication::clipboard()->setText(text);
        QApplication::processEvents();
      });

  // The same paste on the headless platform: the window logic's own share.
  headless::MemoryFileSystem disk;
  headless::HeadlessPlatform headless(FrmBase64Table(), disk);
  FrmBase64 logic(headless.form());
  headless.Start(logic);
  const double logicAlone = MedianMicros([&] { headless.cmdPaste.Click(); }, 5, [&] {
    headless.txt.SetText(u"");
    headless.Clipboard.SetText(code);
  });
  return {{"paste of a 1 MiB code that is no picture", paste / 1000, reference / 1000, "ms", 6.0},
          {"the same paste, window logic alone (headless)", logicAlone / 1000, reference / 1000, "ms", 6.0}};
}

std::vector<Row> CodecRows() {
  std::vector<Row> rows;
  for (const std::size_t size : {std::size_t{725}, std::size_t{64} << 10, std::size_t{16} << 20}) {
    std::vector<std::uint8_t> bytes(size);
    std::mt19937 random(static_cast<unsigned>(size));
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const std::u16string byteString = BytesToByteString(bytes);
    const std::u16string code = modBase64::EncodeBase64(byteString);
    const std::string ascii = ByteStringToBytes(code);
    const int repeat = size < 100000 ? 2000 : 3;
    const double encode = MedianMicros([&] { for (int i = 0; i < repeat; ++i) (void)modBase64::EncodeBase64(byteString); });
    const double openSslEncode = MedianMicros([&] {
      for (int i = 0; i < repeat; ++i) {
        std::string out(ascii.size() + 1, '\0');
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(), static_cast<int>(size));
      }
    });
    const double decode = MedianMicros([&] { for (int i = 0; i < repeat; ++i) (void)modBase64::DecodeBase64(code); });
    const double openSslDecode = MedianMicros([&] {
      for (int i = 0; i < repeat; ++i) {
        std::string out(size + 3, '\0');
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()), reinterpret_cast<const unsigned char*>(ascii.data()),
                        static_cast<int>(ascii.size()));
      }
    });
    const double goal = size > 100000 ? 2.0 : 1.0;  // time ratio: half the speed at 16 MiB
    const std::string label = std::to_string(size) + " B";
    rows.push_back({"EncodeBase64 " + label + " (time per " + std::to_string(repeat) + ")", encode, openSslEncode, "us", goal});
    rows.push_back({"DecodeBase64 " + label + " (time per " + std::to_string(repeat) + ")", decode, openSslDecode, "us", goal});
  }
  return rows;
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
    for (const ControlEntry& control : FrmBase64Table().controls) {
      QWidget* widget = nullptr;
      switch (control.kind) {
        case ControlKind::kDriveList: widget = new QComboBox(bareWindow.get()); break;
        case ControlKind::kCommandButton: widget = new QPushButton(QString::fromStdU16String(std::u16string(control.caption)), bareWindow.get()); break;
        case ControlKind::kFolderList:
        case ControlKind::kFileList: widget = new QListWidget(bareWindow.get()); break;
        case ControlKind::kTextBox: widget = new QPlainTextEdit(bareWindow.get()); break;
        case ControlKind::kFrame: widget = new QGroupBox(QString::fromStdU16String(std::u16string(control.caption)), bareWindow.get()); break;
        case ControlKind::kPictureBox: widget = new QWidget(bareWindow.get()); break;
        case ControlKind::kLabel: widget = new QLabel(bareWindow.get()); break;
        case ControlKind::kSaveDialog: continue;
      }
      widget->setGeometry(control.left / 15, control.top / 15, control.width / 15, control.height / 15);
    }
    bareWindow->setFixedSize(468, 517);
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
  for (int i = 0; i < 7; ++i) {
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
  return {times[3], memories[3]};
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
  const std::u16string code = CodeOf(png);

  std::vector<Row> rows = {
      {"start-up to first paint", startup, bareStartup, "ms", 1.3},
      {"peak memory", memory, bareMemory, "MiB", 1.2},
      ClickRow(window, file.fileName()),
      KeystrokeRow(window, code),
      FoldedPasteRow(window, code),
  };
  for (Row& row : LargePasteRows(window)) rows.push_back(std::move(row));
  for (Row& row : CodecRows()) rows.push_back(std::move(row));
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
