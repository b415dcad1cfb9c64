// SPDX-License-Identifier: GPL-3.0-or-later
// "Ausschnitt wählen" on large photos: how long the dialog takes to open,
// how long a preview takes while the frame moves and the exact Face once it
// rests, the memory the photo takes, and `velmora --header --fit` on a
// 48-megapixel photo. Each figure stands beside a reference measured in the
// same run: decoding the JPEG whole with Qt, the time one frame of a 60 Hz
// display has, and the decoded photo's own size.
//
// The photos are made in the run: a smooth picture with fine detail, written
// by Qt's JPEG writer at quality 90, 6000 x 4000 and 8000 x 6000 pixels.
//
// Usage: framing_bench PATH/TO/velmora   (run with QT_QPA_PLATFORM=offscreen)


#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "framing/frame.h"
#include "platform/qt/qt_framing_dialog.h"
#include "platform/qt/qt_picture_reader.h"
#include "window/photo_faces.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using velmora::framing::Frame;

constexpr double kGoalPreviewMs = 16.0;   // at the 95th percentile
constexpr double kGoalExactMs = 300.0;
constexpr double kGoalOpenMs = 1000.0;
constexpr double kGoalMemoryRatio = 2.0;  // of the decoded photo
constexpr double kGoalCommandSeconds = 15.0;
constexpr double kGoalCommandMegabytes = 600.0;
constexpr int kDragSteps = 200;

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A line of /proc/self/status in MB: VmRSS now, VmHWM the peak since the
// last ResetPeak.
double StatusMegabytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field + ":")) return std::stod(line.substr(field.size() + 1)) / 1024.0;
  }
  return 0.0;
}

void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

// A photo-like JPEG: colour gradients under a fine pattern, as sharp
// detail costs a decoder more than flat areas.
std::string PhotoJpeg(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, width, height);
  gradient.setColorAt(0, QColor(30, 90, 160));
  gradient.setColorAt(0.5, QColor(220, 180, 120));
  gradient.setColorAt(1, QColor(40, 120, 60));
  painter.fillRect(image.rect(), gradient);
  painter.setPen(QPen(QColor(255, 255, 255, 60), 3));
  for (int x = 0; x < width; x += 37) painter.drawLine(x, 0, x + height / 3, height);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG", 90);
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

double QtDecodeMs(const std::string& jpeg) {
  const auto start = Clock::now();
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(jpeg.data()), static_cast<int>(jpeg.size()), "JPEG");
  return Since(start);
}

// Frames a user's drag passes through: the first frame moving across and
// down, then shrinking.
std::vector<Frame> Drag(velmora::framing::PictureSize size) {
  std::vector<Frame> frames;
  Frame frame = velmora::framing::FirstFrame(size);
  for (int step = 0; step < kDragSteps; ++step) {
    frame = velmora::framing::Moved(frame, 7, 5, size);
    if (step % 4 == 0) frame = velmora::framing::AfterKey(frame, velmora::framing::Key::kMinus, false, size);
    frames.push_back(frame);
  }
  return frames;
}

struct Command {
  double seconds = 0.0;
  double megabytes = 0.0;
  bool ok = false;
};

Command RunHeaderFit(const std::string& program, const fs::path& photo) {
  const auto start = Clock::now();
  const auto finished = velmora::bench::RunToEnd({program, "--header", "--fit", photo.string()});
  if (!finished) return {};
  return {Since(start) / 1000.0, static_cast<double>(finished->usage.ru_maxrss) / 1024.0, finished->succeeded};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH/TO/velmora\n", argv[0]);
    return EXIT_FAILURE;
  }
  const std::string program = fs::absolute(argv[1]).string();
  QApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);

  const std::string photo24 = PhotoJpeg(6000, 4000);
  const double decodedMegabytes = 6000.0 * 4000.0 * 4.0 / (1 << 20);
  ResetPeak();
  const double baseMegabytes = StatusMegabytes("VmRSS");

  // Opening: reading the photo upright, the reduced copy, and the dialog up
  // and shown; it is closed as soon as it shows.
  // The main window is up before the dialog opens, as in the program: the
  // toolkit's fonts and style are loaded by then.
  velmora::QtPictureReader reader;
  QWidget window;
  window.show();
  QApplication::processEvents();
  velmora::QtFramingDialog dialog(window);
  const auto openStart = Clock::now();
  auto read = reader.Read(photo24, 1 << 30);
  auto& upright = std::get<velmora::UprightPicture>(read);
  const velmora::framing::PictureSize size{upright.width, upright.height};
  const velmora::PhotoFaces faces({upright.width, upright.height, std::move(upright.rgba)});

  double openMs = 0.0;
  QTimer::singleShot(0, [&] {
    openMs = Since(openStart);
    for (QWidget* shown : QApplication::topLevelWidgets()) {
      if (auto* framing = qobject_cast<QDialog*>(shown); framing && framing->isVisible()) framing->reject();
    }
  });
  (void)dialog.ChooseFrame(faces.View(), velmora::framing::FirstFrame(size), faces);
  const double peakMegabytes = StatusMegabytes("VmHWM") - baseMegabytes;
  const double referenceDecodeMs = QtDecodeMs(photo24);

  std::vector<double> previews;
  for (const Frame& frame : Drag(size)) {
    const auto start = Clock::now();
    (void)faces.Quick(frame);
    previews.push_back(Since(start));
  }
  std::vector<double> exacts;
  const std::vector<Frame> drag = Drag(size);
  for (std::size_t i = 0; i < drag.size(); i += drag.size() / 8) {
    const auto start = Clock::now();
    (void)faces.Exact(drag[i]);
    exacts.push_back(Since(start));
  }

  const fs::path folder = fs::temp_directory_path() / "framing_bench";
  fs::create_directories(folder);
  const fs::path photo48 = folder / "photo48.jpg";
  std::ofstream(photo48, std::ios::binary) << PhotoJpeg(8000, 6000);
  const Command command = RunHeaderFit(program, photo48);
  fs::remove_all(folder);

  const double previewP95 = Percentile(previews, 0.95);
  const double exactMax = *std::max_element(exacts.begin(), exacts.end());
  const double memoryRatio = peakMegabytes / decodedMegabytes;
  std::printf("| measure | Velmora | reference |\n|---|---|---|\n");
  std::printf("| dialog open, 24 MP JPEG | %.0f ms | Qt decodes it whole in %.0f ms |\n", openMs, referenceDecodeMs);
  std::printf("| preview while the frame moves, median / 95th percentile | %.2f / %.2f ms | %.1f ms a frame at 60 Hz |\n",
              Percentile(previews, 0.5), previewP95, kGoalPreviewMs);
  std::printf("| exact Face once the frame rests, median / slowest | %.0f / %.0f ms | |\n", Percentile(exacts, 0.5),
              exactMax);
  std::printf("| memory at its peak while the dialog opened and showed | %.0f MB | the decoded photo: %.0f MB (%.2f times) |\n", peakMegabytes,
              decodedMegabytes, memoryRatio);
  std::printf("| `velmora --header --fit`, 48 MP JPEG | %.2f s, %.0f MB%s | |\n", command.seconds, command.megabytes,
              command.ok ? "" : ", FAILED");
  std::printf("\nGoals:\n");
  std::printf("- preview at most %.0f ms at the 95th percentile: %s (%.2f ms)\n", kGoalPreviewMs,
              Verdict(previewP95 <= kGoalPreviewMs), previewP95);
  std::printf("- exact Face at most %.0f ms: %s (slowest %.0f ms)\n", kGoalExactMs, Verdict(exactMax <= kGoalExactMs),
              exactMax);
  std::printf("- dialog open within %.0f ms: %s (%.0f ms)\n", kGoalOpenMs, Verdict(openMs <= kGoalOpenMs), openMs);
  std::printf("- memory at most %.0f times the decoded photo: %s (%.2f)\n", kGoalMemoryRatio,
              Verdict(memoryRatio <= kGoalMemoryRatio), memoryRatio);
  std::printf("- 48 MP --header --fit within %.0f s and %.0f MB: %s (%.2f s, %.0f MB)\n", kGoalCommandSeconds,
              kGoalCommandMegabytes,
              Verdict(command.ok && command.seconds <= kGoalCommandSeconds && command.megabytes <= kGoalCommandMegabytes),
              command.seconds, command.megabytes);
  return EXIT_SUCCESS;
}
