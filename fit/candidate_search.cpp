// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/candidate_search.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fit/png_encode.h"
#include "fit/quality.h"
#include "fit/quantiser.h"
#include "fit/smoothing.h"

namespace velmora::fit {
namespace {

constexpr std::array kBackdrops = {kWhite, kBlack};

// What zopfli saves on the image data of a Face-sized file, against zlib's
// best: 5.6 % in the median, 9 % at the 90th percentile, under 13 % at
// most. A file further over the limit than zopfli's reach is not tried with
// zopfli; the search counts on the typical saving; and a candidate is tried
// with zopfli only while the most saved so far, and a little more, would
// make it fit.
constexpr double kZopfliReach = 0.10;
constexpr double kTypicalZopfliSaving = 0.05;
constexpr double kZopfliSavingMargin = 0.01;

// The search without smoothing starts here and first widens by this much:
// the answer for real pictures mostly lies between 10 and 80 colours.
constexpr int kFirstGuess = 32;
constexpr int kFirstStep = 16;
// The smoothing tolerances tried after none, in sample steps
// (fit/smoothing.h). Each buys colours, and each wins on some pictures.
constexpr std::array kSmoothingSteps = {2, 4, 8};
// Each tolerance's search reaches at most this many times the count the one
// before fitted: beyond it smoothing costs more than the colours give.
constexpr double kCountReach = 1.5;
// The quantiser's speed for the search: against the best speed it loses
// little and takes half the time.
constexpr int kSearchSpeed = 4;
// The winner's count and the next ones are quantised again at the best
// speed: a better palette at the same count, or one that fits a colour more.
constexpr int kPolishedCounts = 3;
// Truecolour files only pay for pictures whose exact file comes near the
// limit, such as smooth gradients and enlarged pixel art; for the others
// their rows only cost time.
constexpr double kTruecolourReach = 2.0;

int DistinctColours(const Picture& picture) {
  std::set<std::array<std::uint8_t, kChannels>> colours;
  for (std::size_t i = 0; i < picture.rgba.size(); i += kChannels) {
    colours.insert({picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2], picture.rgba[i + 3]});
  }
  return static_cast<int>(colours.size());
}

int UsedColours(const IndexedPicture& indexed) {
  std::array<bool, kMaxColours> used{};
  for (const std::uint8_t index : indexed.indices) used[index] = true;
  return static_cast<int>(std::count(used.begin(), used.end(), true));
}

// Whether the file fits once a share of its image data is saved.
bool FitsSaving(const std::string& png, double share, std::size_t maxBytes) {
  return static_cast<double>(png.size()) - share * static_cast<double>(ImageDataBytes(png)) <=
         static_cast<double>(maxBytes);
}

double Saving(const std::string& zlibPng, const std::string& zopfliPng) {
  return 1.0 - static_cast<double>(ImageDataBytes(zopfliPng)) / static_cast<double>(ImageDataBytes(zlibPng));
}

// The canvas itself, when its exact pixels fit.
std::optional<Candidate> ExactCandidate(const Picture& canvas, const std::string& zlibPng, std::size_t maxBytes) {
  if (!FitsSaving(zlibPng, kZopfliReach, maxBytes)) return std::nullopt;
  std::string png = EncodePng(canvas, Deflater::kZopfli);
  if (png.size() > maxBytes) return std::nullopt;
  return Candidate{std::move(png), DistinctColours(canvas), std::numeric_limits<double>::infinity()};
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
  CandidateSearch(const Picture& canvas, std::size_t maxBytes, Truecolour truecolour)
      : canvas_(canvas),
        maxBytes_(maxBytes),
        truecolour_(truecolour),
        searchQuantiser_(canvas, kSearchSpeed),
        bestQuantiser_(canvas, kBestQuantiserSpeed) {}

  // The largest count below `tooLarge` that fits at this tolerance, or less
  // than kMinColours when none does. From `start` the search steps outward,
  // each step twice as long as the one before, until it passes the answer;
  // then it halves the bracket. A good start saves the costly high counts.
  int LargestFittingCount(Tolerance tolerance, int start, int firstStep, int tooLarge = kMaxColours + 1) {
    Bracket bracket{kMinColours - 1, tooLarge};
    for (int colours = start, step = firstStep; bracket.Undecided(colours); step *= 2) {
      colours = Try(colours, tolerance, bracket) ? colours + step : colours - step;
    }
    while (bracket.tooLarge - bracket.fits > 1) {
      Try(bracket.fits + (bracket.tooLarge - bracket.fits) / 2, tolerance, bracket);
    }
    return bracket.fits;
  }

  // The winner's count and the next ones again, with palettes of the best
  // speed.
  void Polish() {
    SettlePending();
    if (!best_) return;
    const int first = best_->colours;
    const Tolerance tolerance = best_->tolerance;
    for (int colours = first; colours < first + kPolishedCounts && colours <= kMaxColours; ++colours) {
      Judge(NearestMapping(canvas_, bestQuantiser_.Palette(colours)).Smoothed(tolerance), colours, tolerance);
    }
    SettlePending();
  }

  // The winner, deflated with zopfli.
  [[nodiscard]] std::optional<Candidate> Best() const {
    if (!best_) return std::nullopt;
    std::string png = best_->deflater == Deflater::kZopfli ? best_->png
                                                           : EncodePng(best_->indexed, Deflater::kZopfli, truecolour_);
    return Candidate{std::move(png), UsedColours(best_->indexed), best_->psnr};
  }

 private:
  struct Scored {
    IndexedPicture indexed;
    int colours;  // asked of the quantiser
    Tolerance tolerance;
    double psnr;
    std::string png;  // zlib's file, or zopfli's once it has run
    Deflater deflater;
  };

  const NearestMapping& MappingFor(int colours) {
    auto found = mappings_.find(colours);
    if (found == mappings_.end()) {
      found = mappings_.try_emplace(colours, canvas_, searchQuantiser_.Palette(colours)).first;
    }
    return found->second;
  }

  // Tries one candidate and narrows the bracket. A palette smaller than
  // asked for is all the picture needs: any larger count gives the same
  // file.
  bool Try(int colours, Tolerance tolerance, Bracket& bracket) {
    IndexedPicture indexed = MappingFor(colours).Smoothed(tolerance);
    const int needed = std::min(colours, static_cast<int>(indexed.palette.size()));
    const bool fits = Judge(std::move(indexed), colours, tolerance);
    (fits ? bracket.fits : bracket.tooLarge) = fits && needed < colours ? kMaxColours : needed;
    return fits;
  }

  // Whether the candidate fits, as far as the search can tell from zlib's
  // file: a file that fits becomes the best when it beats it. One that
  // misses within zopfli's reach counts as fitting when the typical saving
  // would make it fit, and waits for zopfli in SettlePending when it would
  // beat the best: zopfli costs a hundred times what zlib does, and most
  // of the search's candidates never win.
  bool Judge(IndexedPicture indexed, int colours, Tolerance tolerance) {
    std::string png = EncodePng(indexed, Deflater::kZlib, truecolour_);
    if (!FitsSaving(png, kZopfliReach, maxBytes_)) return false;
    const double psnr = CompositePsnr(Expand(indexed), canvas_, kBackdrops);
    const bool fits = png.size() <= maxBytes_;
    if (!best_ || psnr > best_->psnr) {
      Scored scored{std::move(indexed), colours, tolerance, psnr, png, Deflater::kZlib};
      if (fits) {
        best_ = std::move(scored);
      } else {
        pending_.push_back(std::move(scored));
      }
    }
    return fits || FitsSaving(png, kTypicalZopfliSaving, maxBytes_);
  }

  // Runs zopfli on the waiting candidates that beat the best, best first,
  // until one fits.
  void SettlePending() {
    std::sort(pending_.begin(), pending_.end(), [](const Scored& a, const Scored& b) { return a.psnr > b.psnr; });
    for (Scored& candidate : pending_) {
      if (best_ && candidate.psnr <= best_->psnr) break;
      if (largestSaving_ > 0.0 && !FitsSaving(candidate.png, largestSaving_ + kZopfliSavingMargin, maxBytes_)) {
        continue;
      }
      std::string png = EncodePng(candidate.indexed, Deflater::kZopfli, truecolour_);
      largestSaving_ = std::max(largestSaving_, Saving(candidate.png, png));
      if (png.size() <= maxBytes_) {
        candidate.png = std::move(png);
        candidate.deflater = Deflater::kZopfli;
        best_ = std::move(candidate);
        break;
      }
    }
    pending_.clear();
  }

  const Picture& canvas_;
  std::size_t maxBytes_;
  Truecolour truecolour_;
  Quantiser searchQuantiser_;
  Quantiser bestQuantiser_;
  std::map<int, NearestMapping> mappings_;
  std::optional<Scored> best_;
  std::vector<Scored> pending_;
  double largestSaving_ = 0.0;  // by zopfli on a candidate's image data
};

}  // namespace

std::optional<Candidate> BestCandidateWithin(const Picture& canvas, std::size_t maxBytes) {
  const std::string exact = EncodePng(canvas, Deflater::kZlib);
  if (auto candidate = ExactCandidate(canvas, exact, maxBytes)) return candidate;
  const Truecolour truecolour =
      static_cast<double>(exact.size()) <= kTruecolourReach * static_cast<double>(maxBytes) ? Truecolour::kTry
                                                                                              : Truecolour::kSkip;
  CandidateSearch search(canvas, maxBytes, truecolour);
  int fits = search.LargestFittingCount(0, kFirstGuess, kFirstStep);
  // Smoothing makes the file smaller, so each tolerance's answer lies at or
  // above the one before.
  for (const int steps : kSmoothingSteps) {
    const int start = std::max(fits + 1, kMinColours);
    const int reach = std::min(kMaxColours + 1, static_cast<int>(fits * kCountReach) + 1);
    fits = std::max(fits, search.LargestFittingCount(StepsEverywhere(steps), start, 2, std::max(reach, start + 1)));
  }
  search.Polish();
  return search.Best();
}

}  // namespace velmora::fit
