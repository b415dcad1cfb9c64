// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/candidate_search.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "fit/indexed_png.h"
#include "fit/quality.h"
#include "fit/quantiser.h"

namespace velmora::fit {
namespace {

// Full dithering renders gradients best; none leaves flat areas that deflate
// well, which can buy more colours within the limit.
constexpr float kFullDither = 1.0f;
constexpr float kNoDither = 0.0f;
constexpr std::array kBackdrops = {kWhite, kBlack};
// Zopfli makes a Face-sized file some 4 % smaller than zlib's best does,
// rarely more than 8 %; trying it on candidates further over the limit costs
// time and on real pictures finds no better Face.
constexpr double kZopfliReach = 1.08;

// The dithered search starts here and first widens by this much: the
// answer for real pictures mostly lies between 10 and 80 colours.
constexpr int kFirstGuess = 32;
constexpr int kFirstStep = 16;

int UsedColours(const IndexedPicture& indexed) {
  std::array<bool, kMaxColours> used{};
  for (const std::uint8_t index : indexed.indices) used[index] = true;
  return static_cast<int>(std::count(used.begin(), used.end(), true));
}

// The colour counts not yet decided. A file grows with its colour count, so
// the search takes every count up to `fits` to give a file that fits and
// every count from `tooLarge` on one that does not.
struct Bracket {
  int fits = kMinColours - 1;
  int tooLarge = kMaxColours + 1;

  [[nodiscard]] bool Undecided(int colours) const { return colours > fits && colours < tooLarge; }
};

class CandidateSearch {
 public:
  CandidateSearch(const Picture& canvas, std::size_t maxBytes)
      : canvas_(canvas), maxBytes_(maxBytes), quantiser_(canvas) {}

  // The largest count that fits at this dither level, or less than
  // kMinColours when none does. From `start` the search steps outward, each
  // step twice as long as the one before, until it passes the answer; then
  // it halves the bracket. A good start saves the costly high counts.
  int LargestFittingCount(float ditherLevel, int start, int firstStep) {
    Bracket bracket;
    for (int colours = start, step = firstStep; bracket.Undecided(colours); step *= 2) {
      colours = Try(colours, ditherLevel, bracket) ? colours + step : colours - step;
    }
    while (bracket.tooLarge - bracket.fits > 1) {
      Try(bracket.fits + (bracket.tooLarge - bracket.fits) / 2, ditherLevel, bracket);
    }
    return bracket.fits;
  }

  // The winner, deflated with zopfli in the end: that only makes it smaller.
  [[nodiscard]] std::optional<Candidate> Best() const {
    if (!best_) return std::nullopt;
    std::string png = best_->file.deflater == Deflater::kZopfli ? best_->file.png
                                                                : EncodeIndexedPng(best_->indexed, Deflater::kZopfli);
    return Candidate{std::move(png), UsedColours(best_->indexed), best_->psnr};
  }

 private:
  struct File {
    std::string png;
    Deflater deflater;
  };
  struct Scored {
    IndexedPicture indexed;
    File file;
    double psnr;
  };

  // The candidate's file when it fits: zlib decides, zopfli when zlib misses
  // narrowly.
  [[nodiscard]] std::optional<File> FittingFile(const IndexedPicture& indexed) const {
    File file{EncodeIndexedPng(indexed, Deflater::kZlib), Deflater::kZlib};
    if (file.png.size() > maxBytes_) {
      if (static_cast<double>(file.png.size()) > static_cast<double>(maxBytes_) * kZopfliReach) return std::nullopt;
      file = {EncodeIndexedPng(indexed, Deflater::kZopfli), Deflater::kZopfli};
    }
    if (file.png.size() > maxBytes_) return std::nullopt;
    return file;
  }

  // Tries one candidate, keeps it when it fits and beats the best so far,
  // and narrows the bracket. A palette smaller than asked for is all the
  // picture needs: any larger count gives the same file.
  bool Try(int colours, float ditherLevel, Bracket& bracket) {
    IndexedPicture indexed = quantiser_.Quantise(colours, ditherLevel);
    const int needed = std::min(colours, static_cast<int>(indexed.palette.size()));
    std::optional<File> file = FittingFile(indexed);
    if (!file) {
      bracket.tooLarge = needed;
      return false;
    }
    bracket.fits = needed < colours ? kMaxColours : colours;
    const double psnr = CompositePsnr(Expand(indexed), canvas_, kBackdrops);
    if (!best_ || psnr > best_->psnr) best_ = Scored{std::move(indexed), std::move(*file), psnr};
    return true;
  }

  const Picture& canvas_;
  std::size_t maxBytes_;
  Quantiser quantiser_;
  std::optional<Scored> best_;
};

}  // namespace

std::optional<Candidate> BestCandidateWithin(const Picture& canvas, std::size_t maxBytes) {
  CandidateSearch search(canvas, maxBytes);
  const int dithered = search.LargestFittingCount(kFullDither, kFirstGuess, kFirstStep);
  // Without dithering the file deflates better, so the answer lies at or a
  // little above the dithered one.
  search.LargestFittingCount(kNoDither, std::max(dithered, kMinColours), 1);
  return search.Best();
}

}  // namespace velmora::fit
