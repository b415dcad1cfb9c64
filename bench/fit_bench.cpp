// SPDX-License-Identifier: GPL-3.0-or-later
// Velmora's FitPictureIntoFace side by side with an expert's best effort with
// Debian's PNG tools, on a corpus of real pictures.
//
// Both start from the same 48 x 48 canvas (fit::FaceCanvas), so that only the
// step to 725 bytes is compared. The expert writes the canvas as an RGBA PNG
// and, for each dithering level of pngquant (full, half, quarter, none):
//
//   pngquant --speed 1 --strip [--floyd=L | --nofs] N canvas.png
//   optipng -o7 -strip all
//
// searching the colour count N by bisection on optipng's size for the largest
// that fits; every candidate that misses by at most a tenth then goes
// through `zopflipng -m`. Of every file of at most 725 bytes, the one with the
// highest PSNR against the canvas (over white and over black together, the
// measure Velmora's own search uses) is the expert's answer.
//
// Both are timed by processor time: Velmora's in this process (decoding and
// scaling included), the expert's in the tools' processes, their starts
// included. PSNR is reported over white and over black separately; an exact
// result counts as 99 dB.
//
// Usage: fit_bench FOLDER...   (each folder's *.png files form one group,
// named after the folder)

#include <png.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/child_process.h"
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

constexpr double kPsnrCap = 99.0;  // an exact result counts as this in the statistics
constexpr std::array kBothBackdrops = {fit::kWhite, fit::kBlack};
constexpr std::array kOverWhite = {fit::kWhite};
constexpr std::array kOverBlack = {fit::kBlack};

// The expert's search.
constexpr std::array kDitherLevels = {"1", "0.5", "0.25", "0"};
constexpr int kFewestColours = 2;
constexpr int kMostColours = 256;
constexpr double kNearMiss = 1.10;  // zopflipng gets every candidate within this factor of the limit

// The goals.
constexpr double kGoalMedianGain = 0.5;   // dB, over white and over black
constexpr double kGoalWorstLoss = -0.3;   // dB, on any picture
constexpr double kGoalTimeShare = 0.1;    // of the expert's processor time, median
constexpr double kGoalMedianMs = 100.0;   // the fit's processor time
constexpr double kGoalSlowestMs = 300.0;

struct Outcome {
  bool fits = false;
  std::size_t bytes = 0;
  int colours = 0;
  double overWhite = 0.0;        // PSNR in dB
  double overBlack = 0.0;
  double cpuMilliseconds = 0.0;  // processor time
  double milliseconds = 0.0;     // wall clock
};

struct Row {
  std::string group;
  std::string name;
  int width = 0;
  int height = 0;
  Outcome velmora;
  Outcome expert;
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

template <std::size_t N>
double CappedPsnr(const fit::Picture& picture, const fit::Picture& reference,
                  const std::array<fit::Colour, N>& backdrops) {
  return std::min(kPsnrCap, fit::CompositePsnr(picture, reference, backdrops));
}

// Fills in size, fit and PSNR of a result file; a file that is not 48 x 48
// does not fit.
void Measure(const std::string& file, const fit::Picture& reference, Outcome& outcome) {
  outcome.bytes = file.size();
  const auto picture = Decode(file);
  if (!picture || picture->width != fit::kFaceSide || picture->height != fit::kFaceSide) return;
  outcome.fits = file.size() <= fit::kMaxFaceBytes;
  outcome.overWhite = CappedPsnr(*picture, reference, kOverWhite);
  outcome.overBlack = CappedPsnr(*picture, reference, kOverBlack);
}

Outcome RunVelmora(const std::string& file, const fit::Picture& reference) {
  const auto start = Clock::now();
  const double cpuStart = ProcessCpuMilliseconds();
  const auto result = fit::FitPictureIntoFace(BytesOf(file));
  Outcome outcome;
  outcome.cpuMilliseconds = ProcessCpuMilliseconds() - cpuStart;
  outcome.milliseconds = Since(start);
  if (const auto* face = std::get_if<fit::FitResult>(&result)) {
    outcome.colours = face->colours;
    Measure(face->png, reference, outcome);
  }
  return outcome;
}

// Runs a tool and adds the processor time it used.
bool RunTool(std::vector<std::string> args, double& cpuMilliseconds) {
  const auto finished = velmora::bench::RunToEnd(std::move(args));
  if (!finished) return false;
  cpuMilliseconds += Milliseconds(finished->usage.ru_utime) + Milliseconds(finished->usage.ru_stime);
  return finished->succeeded;
}

bool WriteRgbaPng(const fit::Picture& picture, const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr) != 0;
}

// The expert at work on one canvas, in a folder of its own.
class Expert {
 public:
  Expert(const fs::path& work, const fit::Picture& canvas) : work_(work), canvas_(canvas) {}

  Outcome Run() {
    const auto start = Clock::now();
    const fs::path input = work_ / "canvas.png";
    if (WriteRgbaPng(canvas_, input)) {
      for (const char* level : kDitherLevels) SearchColours(input, level);
      for (const fs::path& nearMiss : nearMisses_) TryZopfli(nearMiss);
    }
    best_.milliseconds = Since(start);
    best_.cpuMilliseconds = cpuMilliseconds_;
    return best_;
  }

 private:
  // The largest count whose optipng file fits, by bisection; a count that
  // gives no file counts as too large.
  void SearchColours(const fs::path& input, const std::string& level) {
    int fits = kFewestColours - 1;
    int tooLarge = kMostColours + 1;
    for (int colours = kMostColours; tooLarge - fits > 1; colours = fits + (tooLarge - fits) / 2) {
      (Try(input, level, colours) ? fits : tooLarge) = colours;
    }
  }

  bool Try(const fs::path& input, const std::string& level, int colours) {
    const std::string name = "q" + level + "-" + std::to_string(colours);
    const fs::path quantised = work_ / (name + ".png");
    const fs::path optimised = work_ / (name + "-o.png");
    const std::string dither = level == "0" ? "--nofs" : "--floyd=" + level;
    if (!RunTool({"pngquant", "--speed", "1", "--strip", "--force", dither, "--output", quantised,
                  std::to_string(colours), "--", input},
                 cpuMilliseconds_) ||
        !RunTool({"optipng", "-quiet", "-o7", "-strip", "all", "-clobber", "-out", optimised, quantised},
                 cpuMilliseconds_)) {
      return false;
    }
    const std::string file = ReadFile(optimised);
    if (file.size() > fit::kMaxFaceBytes) {
      if (static_cast<double>(file.size()) <= static_cast<double>(fit::kMaxFaceBytes) * kNearMiss) {
        nearMisses_.push_back(optimised);
      }
      return false;
    }
    Consider(file, colours);
    return true;
  }

  void TryZopfli(const fs::path& nearMiss) {
    const fs::path zopfli = fs::path(nearMiss).replace_extension(".z.png");
    if (!RunTool({"zopflipng", "-m", "-y", nearMiss, zopfli}, cpuMilliseconds_)) return;
    const std::string file = ReadFile(zopfli);
    if (file.size() <= fit::kMaxFaceBytes) Consider(file, 0);
  }

  void Consider(const std::string& file, int colours) {
    const auto picture = Decode(file);
    if (!picture || picture->width != fit::kFaceSide || picture->height != fit::kFaceSide) return;
    const double psnr = fit::CompositePsnr(*picture, canvas_, kBothBackdrops);
    if (best_.fits && psnr <= bestPsnr_) return;
    bestPsnr_ = psnr;
    best_.colours = colours;
    Measure(file, canvas_, best_);
  }

  fs::path work_;
  const fit::Picture& canvas_;
  std::vector<fs::path> nearMisses_;
  double cpuMilliseconds_ = 0.0;
  double bestPsnr_ = 0.0;
  Outcome best_;
};

std::string Psnr(const Outcome& outcome, double psnr) {
  if (!outcome.fits) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%.2f", psnr);
  return text;
}

std::string Colours(int colours) { return colours > 0 ? std::to_string(colours) : "z"; }

void PrintRow(const Row& row) {
  const Outcome& v = row.velmora;
  const Outcome& e = row.expert;
  std::printf("| %s | %s | %dx%d | %zu | %d | %s | %s | %.0f | %zu | %s | %s | %s | %.0f |\n", row.group.c_str(),
              row.name.c_str(), row.width, row.height, v.bytes, v.colours, Psnr(v, v.overWhite).c_str(),
              Psnr(v, v.overBlack).c_str(), v.cpuMilliseconds, e.bytes, Colours(e.colours).c_str(),
              Psnr(e, e.overWhite).c_str(), Psnr(e, e.overBlack).c_str(), e.cpuMilliseconds);
}

double Max(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}
double Min(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

bool BothExact(const Row& row) {
  return row.velmora.overWhite >= kPsnrCap && row.velmora.overBlack >= kPsnrCap &&
         row.expert.overWhite >= kPsnrCap && row.expert.overBlack >= kPsnrCap;
}

struct Summary {
  int pictures = 0;
  int compared = 0;  // both fit and not both exact
  int velmoraFits = 0;
  int expertFits = 0;
  int expertOnly = 0;  // fits with the expert's tools but not with Velmora
  int over725 = 0;     // Velmora results over the limit: must stay 0
  int wins = 0;
  int losses = 0;
  std::vector<double> gainOverWhite;  // where compared
  std::vector<double> gainOverBlack;
  std::vector<double> velmoraCpu;
  std::vector<double> expertCpu;
  std::vector<double> velmoraBytes;

  void Add(const Row& row) {
    ++pictures;
    velmoraFits += row.velmora.fits ? 1 : 0;
    expertFits += row.expert.fits ? 1 : 0;
    expertOnly += row.expert.fits && !row.velmora.fits ? 1 : 0;
    over725 += row.velmora.bytes > fit::kMaxFaceBytes ? 1 : 0;
    velmoraCpu.push_back(row.velmora.cpuMilliseconds);
    expertCpu.push_back(row.expert.cpuMilliseconds);
    velmoraBytes.push_back(static_cast<double>(row.velmora.bytes));
    if (!row.velmora.fits || !row.expert.fits || BothExact(row)) return;
    ++compared;
    const double overWhite = row.velmora.overWhite - row.expert.overWhite;
    const double overBlack = row.velmora.overBlack - row.expert.overBlack;
    gainOverWhite.push_back(overWhite);
    gainOverBlack.push_back(overBlack);
    const double mean = (overWhite + overBlack) / 2.0;
    wins += mean > 0.05 ? 1 : 0;
    losses += mean < -0.05 ? 1 : 0;
  }
};

void PrintSummary(const std::string& name, const Summary& s) {
  std::printf("| %s | %d | %d | %d / %d | %d / %d / %d | %.0f | %+.2f | %+.2f | %+.2f | %.0f / %.0f | %.0f | %.3f |\n",
              name.c_str(), s.pictures, s.compared, s.velmoraFits, s.expertFits, s.wins, s.losses,
              s.compared - s.wins - s.losses, Median(s.velmoraBytes), Median(s.gainOverWhite),
              Median(s.gainOverBlack), std::min(Min(s.gainOverWhite), Min(s.gainOverBlack)), Median(s.velmoraCpu),
              Max(s.velmoraCpu), Median(s.expertCpu), Median(s.velmoraCpu) / Median(s.expertCpu));
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

void PrintGoals(const Summary& all) {
  const double overWhite = Median(all.gainOverWhite);
  const double overBlack = Median(all.gainOverBlack);
  const double worst = std::min(Min(all.gainOverWhite), Min(all.gainOverBlack));
  const double share = Median(all.velmoraCpu) / Median(all.expertCpu);
  std::printf("\nGoals:\n");
  std::printf("- nothing over %zu bytes: %s (%d over)\n", fit::kMaxFaceBytes, Verdict(all.over725 == 0),
              all.over725);
  std::printf("- fits every picture the expert fits: %s (%d fit only with the expert's tools)\n",
              Verdict(all.expertOnly == 0), all.expertOnly);
  std::printf("- median PSNR at least %.1f dB above the expert's: over white %s (%+.2f dB), over black %s (%+.2f dB)\n",
              kGoalMedianGain, Verdict(overWhite >= kGoalMedianGain), overWhite,
              Verdict(overBlack >= kGoalMedianGain), overBlack);
  std::printf("- never more than %.1f dB below the expert: %s (worst %+.2f dB)\n", -kGoalWorstLoss,
              Verdict(worst >= kGoalWorstLoss), worst);
  std::printf("- at most %.0f %% of the expert's processor time: %s (%.1f %%, median %.0f ms against %.0f ms)\n",
              kGoalTimeShare * 100, Verdict(share <= kGoalTimeShare), share * 100, Median(all.velmoraCpu),
              Median(all.expertCpu));
  std::printf("- the fit's median at most %.0f ms, its slowest at most %.0f ms: %s (median %.0f ms, slowest %.0f ms)\n",
              kGoalMedianMs, kGoalSlowestMs,
              Verdict(Median(all.velmoraCpu) <= kGoalMedianMs && Max(all.velmoraCpu) <= kGoalSlowestMs),
              Median(all.velmoraCpu), Max(all.velmoraCpu));
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

Row Compare(const fs::path& folder, const fs::path& path, const fit::Picture& picture, const fs::path& work) {
  const fit::Picture canvas = fit::FaceCanvas(picture);
  Row row{folder.filename().string(), path.filename().string(), picture.width, picture.height, {}, {}};
  row.velmora = RunVelmora(ReadFile(path), canvas);
  const fs::path expertWork = work / row.name;
  fs::create_directories(expertWork);
  row.expert = Expert(expertWork, canvas).Run();
  fs::remove_all(expertWork);
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
    return EXIT_FAILURE;
  }
  const fs::path work = MakeWorkFolder();
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::printf("Processor time in ms. PSNR in dB against the 48 x 48 canvas; an exact result counts as %.0f dB.\n"
              "Expert colours: \"z\" where zopflipng made a near miss fit.\n\n",
              kPsnrCap);
  std::printf("| group | picture | size | Velmora bytes | colours | over white | over black | ms | expert bytes |"
              " colours | over white | over black | ms |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  std::map<std::string, Summary> groups;
  Summary all;
  int unreadable = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path folder(argv[i]);
    for (const fs::path& path : PicturesIn(folder)) {
      const auto decoded = Decode(ReadFile(path));
      if (!decoded) {
        ++unreadable;
        continue;
      }
      const Row row = Compare(folder, path, *decoded, work);
      PrintRow(row);
      groups[row.group].Add(row);
      all.Add(row);
    }
  }
  fs::remove_all(work);
  if (all.pictures == 0) {
    std::fprintf(stderr, "no readable pictures\n");
    return EXIT_FAILURE;
  }
  std::printf("\nSummary. Gains are Velmora's PSNR minus the expert's, over the pictures both fit and not both store"
              " exactly (\"compared\"); a win or loss is a mean gain beyond ±0.05 dB.\n\n");
  std::printf("| group | pictures | compared | fit Velmora / expert | wins / losses / ties | median bytes Velmora |"
              " median gain over white | median gain over black | worst gain | Velmora ms median / max |"
              " expert ms median | Velmora ÷ expert |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const auto& [name, summary] : groups) PrintSummary(name, summary);
  PrintSummary("all", all);
  if (unreadable > 0) std::printf("\n%d files were not readable PNG pictures and were left out.\n", unreadable);
  PrintGoals(all);
  return EXIT_SUCCESS;
}
