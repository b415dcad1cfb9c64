#include "fit/candidate_search.h"

#include <algorithm>
#include <array>

#include "fit/indexed_png.h"
#include "fit/quality.h"
#include "fit/quantiser.h"

namespace velmora::fit {
namespace {

// Full dithering renders gradients best; none leaves flat areas that deflate
// well, which can buy more colours within the limit.
constexpr std::array kDitherLevels = {1.0f, 0.0f};
constexpr std::array kBackdrops = {kWhite, kBlack};
// Zopfli makes a Face-sized file up to some 6 % smaller than zlib's best
// does; a candidate further over the limit is not worth its time.
constexpr double kZopfliReach = 1.08;

int UsedColours(const IndexedPicture& indexed) {
  std::array<bool, kMaxColours> used{};
  for (const std::uint8_t index : indexed.indices) used[index] = true;
  return static_cast<int>(std::count(used.begin(), used.end(), true));
}

class CandidateSearch {
 public:
  CandidateSearch(const Picture& canvas, std::size_t maxBytes)
      : canvas_(canvas), maxBytes_(maxBytes), quantiser_(canvas) {}

  // Binary search for the largest count that fits at this dither level.
  void SearchCounts(float ditherLevel) {
    int fits = kMinColours - 1;
    int tooLarge = kMaxColours + 1;
    for (int colours : {kMaxColours, kMinColours}) {
      Try(colours, ditherLevel, fits, tooLarge);
      if (fits < kMinColours && colours == kMinColours) return;
    }
    while (tooLarge - fits > 1) Try(fits + (tooLarge - fits) / 2, ditherLevel, fits, tooLarge);
  }

  // The winner, deflated with zopfli in the end: that only makes it smaller.
  [[nodiscard]] std::optional<Candidate> Best() const {
    if (!best_) return std::nullopt;
    return Candidate{EncodeIndexedPng(best_->indexed, Deflater::kZopfli), UsedColours(best_->indexed), best_->psnr};
  }

 private:
  struct Scored {
    IndexedPicture indexed;
    double psnr;
  };

  // zlib decides whether a candidate fits, zopfli when zlib misses narrowly.
  [[nodiscard]] bool Fits(const IndexedPicture& indexed) const {
    const std::size_t zlibBytes = EncodeIndexedPng(indexed, Deflater::kZlib).size();
    if (zlibBytes <= maxBytes_) return true;
    if (static_cast<double>(zlibBytes) > static_cast<double>(maxBytes_) * kZopfliReach) return false;
    return EncodeIndexedPng(indexed, Deflater::kZopfli).size() <= maxBytes_;
  }

  // Tries one candidate, keeps it when it fits and beats the best so far,
  // and narrows the search bounds.
  void Try(int colours, float ditherLevel, int& fits, int& tooLarge) {
    if (colours <= fits || colours >= tooLarge) return;
    IndexedPicture indexed = quantiser_.Quantise(colours, ditherLevel);
    if (!Fits(indexed)) {
      // A palette smaller than asked for is all the picture needs: asking
      // for more gives the same file.
      tooLarge = std::min(colours, static_cast<int>(indexed.palette.size()));
      return;
    }
    fits = colours;
    const double psnr = CompositePsnr(Expand(indexed), canvas_, kBackdrops);
    if (!best_ || psnr > best_->psnr) best_ = Scored{std::move(indexed), psnr};
  }

  const Picture& canvas_;
  std::size_t maxBytes_;
  Quantiser quantiser_;
  std::optional<Scored> best_;
};

}  // namespace

std::optional<Candidate> BestCandidateWithin(const Picture& canvas, std::size_t maxBytes) {
  CandidateSearch search(canvas, maxBytes);
  for (const float ditherLevel : kDitherLevels) search.SearchCounts(ditherLevel);
  return search.Best();
}

}  // namespace velmora::fit
