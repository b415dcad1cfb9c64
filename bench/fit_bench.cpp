// SPDX-License-Identifier: GPL-3.0-or-later
// Velmora's FitPictureIntoFace side by side with the usual way of making a
// Face with ImageMagick, on a corpus of real pictures:
//
//   convert <in> -scale 48x48! -colors N <out.png>   for N = 16, 15, ... 2
//
// stopping at the first file of at most 726 bytes. Both run in the same run,
// one picture after the other, and both are timed: wall-clock time, and the
// processor time spent (Velmora's in this process, ImageMagick's in its
// processes, their starts included, as a user would run it). On a machine
// busy with other work the wall-clock time grows and the processor time
// stays; the time goal is judged on the processor time.
//
// Both results are measured against one reference: the original scaled to fit
// 48 x 48 with its proportions kept, centred on transparent (fit::FaceCanvas:
// area average in linear light, premultiplied alpha, smaller pictures
// enlarged), and each picture is composited over white for the PSNR.
// A result counts as fitting when it has at most 725 bytes, the limit
// Velmora's window accepts.
//
// Usage: fit_bench FOLDER...   (each folder's *.png files form one group,
// named after the folder)

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "fit/face_canvas.h"
#include "fit/fit_picture.h"
#include "fit/png_decode.h"
#include "fit/quality.h"
#include "platform/bytes.h"

namespace {

using velmora::BytesOf;
using velmora::bench::Median;
using velmora::bench::PicturesIn;
using velmora::bench::ReadFile;
namespace fs = std::filesystem;
namespace fit = velmora::fit;
using Clock = std::chrono::steady_clock;

constexpr int kFirstColours = 16;
constexpr int kLastColours = 2;
constexpr std::size_t kReferenceToolLimit = 726;  // where the ImageMagick loop stops
constexpr double kPsnrCap = 99.0;                 // an exact result counts as this in the statistics
constexpr double kGoalPsnrGain = 2.0;
constexpr double kGoalMilliseconds = 300.0;
constexpr std::array kOverWhite = {fit::kWhite};

struct Outcome {
  bool fits = false;
  std::size_t bytes = 0;
  int colours = 0;
  double psnr = 0.0;
  double milliseconds = 0.0;     // wall clock
  double cpuMilliseconds = 0.0;  // processor time
};

struct Row {
  std::string group;
  std::string name;
  int width = 0;
  int height = 0;
  Outcome velmora;
  Outcome magick;
};

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Milliseconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

double ProcessCpuMilliseconds() {
  timespec time{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
  return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

std::optional<fit::Picture> Decode(const std::string& file) {
  auto decoded = fit::DecodePng(BytesOf(file));
  if (auto* picture = std::get_if<fit::Picture>(&decoded)) return std::move(*picture);
  return std::nullopt;
}

double PsnrOverWhite(const std::string& file, const fit::Picture& reference) {
  const auto picture = Decode(file);
  if (!picture || picture->width != fit::kFaceSide || picture->height != fit::kFaceSide) return 0.0;
  return std::min(kPsnrCap, fit::CompositePsnr(*picture, reference, kOverWhite));
}

Outcome RunVelmora(const std::string& file, const fit::Picture& reference) {
  const auto start = Clock::now();
  const double cpuStart = ProcessCpuMilliseconds();
  const auto result = fit::FitPictureIntoFace(BytesOf(file));
  Outcome outcome;
  outcome.cpuMilliseconds = ProcessCpuMilliseconds() - cpuStart;
  outcome.milliseconds = Since(start);
  if (const auto* face = std::get_if<fit::FitResult>(&result)) {
    outcome.bytes = face->png.size();
    outcome.fits = outcome.bytes <= fit::kMaxFaceBytes;
    outcome.colours = face->colours;
    outcome.psnr = PsnrOverWhite(face->png, reference);
  }
  return outcome;
}

// Runs convert and adds the processor time it used to cpuMilliseconds.
bool RunConvert(const fs::path& in, int colours, const fs::path& out, double& cpuMilliseconds) {
  const std::string inText = in.string();
  const std::string outText = out.string();
  const std::string coloursText = std::to_string(colours);
  std::vector<std::string> args = {"convert", inText, "-scale", "48x48!", "-colors", coloursText, outText};
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, "convert", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return false;
  cpuMilliseconds += Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Outcome RunMagick(const fs::path& in, const fs::path& work, const fit::Picture& reference) {
  const fs::path out = work / "magick.png";
  Outcome outcome;
  const auto start = Clock::now();
  std::string file;
  for (int colours = kFirstColours; colours >= kLastColours; --colours) {
    if (!RunConvert(in, colours, out, outcome.cpuMilliseconds)) break;
    file = ReadFile(out);
    outcome.colours = colours;
    if (file.size() <= kReferenceToolLimit) break;
  }
  outcome.milliseconds = Since(start);
  outcome.bytes = file.size();
  outcome.fits = !file.empty() && file.size() <= fit::kMaxFaceBytes;
  if (outcome.fits) outcome.psnr = PsnrOverWhite(file, reference);
  return outcome;
}

std::string Psnr(const Outcome& outcome) {
  if (!outcome.fits) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%.2f", outcome.psnr);
  return text;
}

void PrintRow(const Row& row) {
  std::printf("| %s | %s | %dx%d | %zu | %d | %s | %.0f / %.0f | %zu | %d | %s | %.0f / %.0f |\n", row.group.c_str(),
              row.name.c_str(), row.width, row.height, row.velmora.bytes, row.velmora.colours,
              Psnr(row.velmora).c_str(), row.velmora.cpuMilliseconds, row.velmora.milliseconds, row.magick.bytes,
              row.magick.colours, Psnr(row.magick).c_str(), row.magick.cpuMilliseconds, row.magick.milliseconds);
}

double Max(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

struct Summary {
  int pictures = 0;
  int velmoraFits = 0;
  int magickFits = 0;
  int magickOnly = 0;  // fits with ImageMagick but not with Velmora
  std::vector<double> velmoraBytes;  // every picture's result, fitting or not
  std::vector<double> magickBytes;
  std::vector<double> velmoraPsnr;  // where both fit
  std::vector<double> magickPsnr;
  std::vector<double> gain;
  std::vector<double> velmoraCpu;
  std::vector<double> velmoraWall;
  std::vector<double> magickCpu;
};

void Add(Summary& summary, const Row& row) {
  ++summary.pictures;
  summary.velmoraFits += row.velmora.fits ? 1 : 0;
  summary.magickFits += row.magick.fits ? 1 : 0;
  summary.magickOnly += row.magick.fits && !row.velmora.fits ? 1 : 0;
  summary.velmoraBytes.push_back(static_cast<double>(row.velmora.bytes));
  summary.magickBytes.push_back(static_cast<double>(row.magick.bytes));
  if (row.velmora.fits && row.magick.fits) {
    summary.velmoraPsnr.push_back(row.velmora.psnr);
    summary.magickPsnr.push_back(row.magick.psnr);
    summary.gain.push_back(row.velmora.psnr - row.magick.psnr);
  }
  summary.velmoraCpu.push_back(row.velmora.cpuMilliseconds);
  summary.velmoraWall.push_back(row.velmora.milliseconds);
  summary.magickCpu.push_back(row.magick.cpuMilliseconds);
}

void PrintSummary(const std::string& name, const Summary& s) {
  std::printf("| %s | %d | %d | %d | %.0f | %.0f | %.2f | %.2f | %.2f | %.0f / %.0f | %.0f / %.0f | %.0f | %.1f |\n",
              name.c_str(), s.pictures, s.velmoraFits, s.magickFits, Median(s.velmoraBytes), Median(s.magickBytes),
              Median(s.velmoraPsnr), Median(s.magickPsnr), Median(s.gain), Median(s.velmoraCpu), Max(s.velmoraCpu),
              Median(s.velmoraWall), Max(s.velmoraWall), Median(s.magickCpu), Median(s.magickCpu) / Median(s.velmoraCpu));
}

void PrintGoals(const Summary& all) {
  const double gain = Median(all.velmoraPsnr) - Median(all.magickPsnr);
  std::printf("\nGoals:\n");
  std::printf("- fits every picture ImageMagick fits: %s (%d fit only with ImageMagick)\n",
              all.magickOnly == 0 ? "met" : "MISSED", all.magickOnly);
  std::printf("- median PSNR at least %.0f dB above ImageMagick's: %s (%.2f dB; median of the per-picture gains "
              "%.2f dB)\n",
              kGoalPsnrGain, gain >= kGoalPsnrGain ? "met" : "MISSED", gain, Median(all.gain));
  std::printf("- at most %.0f ms per picture: %s (slowest %.0f ms processor time, %.0f ms wall clock)\n",
              kGoalMilliseconds, Max(all.velmoraCpu) <= kGoalMilliseconds ? "met" : "MISSED", Max(all.velmoraCpu),
              Max(all.velmoraWall));
}

fs::path MakeWorkFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fit_bench.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::exit(EXIT_FAILURE);
  }
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
    return EXIT_FAILURE;
  }
  const fs::path work = MakeWorkFolder();
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::printf("Times in ms: processor / wall clock.\n\n");
  std::printf("| group | picture | size | Velmora bytes | colours | PSNR dB | ms | ImageMagick bytes | -colors |"
              " PSNR dB | ms |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
  std::map<std::string, Summary> groups;
  Summary all;
  int unreadable = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path folder(argv[i]);
    for (const fs::path& path : PicturesIn(folder)) {
      const std::string file = ReadFile(path);
      const auto decoded = Decode(file);
      if (!decoded) {
        ++unreadable;
        continue;
      }
      const fit::Picture reference = fit::FaceCanvas(*decoded);
      Row row{folder.filename().string(), path.filename().string(), decoded->width, decoded->height, {}, {}};
      row.velmora = RunVelmora(file, reference);
      row.magick = RunMagick(path, work, reference);
      PrintRow(row);
      Add(groups[row.group], row);
      Add(all, row);
    }
  }
  fs::remove_all(work);
  if (all.pictures == 0) {
    std::fprintf(stderr, "no readable pictures\n");
    return EXIT_FAILURE;
  }
  std::printf("\nSummary (bytes: medians over every result, fitting or not; PSNR: medians over the pictures both"
              " fit, exact results counting as %.0f dB):\n\n",
              kPsnrCap);
  std::printf("| group | pictures | fit Velmora | fit ImageMagick | median bytes Velmora | median bytes ImageMagick |"
              " median PSNR Velmora | median PSNR ImageMagick | median gain dB | Velmora processor ms median / max |"
              " Velmora wall ms median / max | ImageMagick processor ms median | ImageMagick ÷ Velmora |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const auto& [name, summary] : groups) PrintSummary(name, summary);
  PrintSummary("all", all);
  if (unreadable > 0) std::printf("\n%d files were not readable PNG pictures and were left out.\n", unreadable);
  PrintGoals(all);
  return EXIT_SUCCESS;
}
