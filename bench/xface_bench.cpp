// SPDX-License-Identifier: GPL-3.0-or-later
// How the three black-and-white methods of xface/ fare on a corpus of real
// pictures: for each method the median X-Face code length and the median
// BlurredPsnr against the grey picture, how many bitmaps the library could
// not encode, and how often XFaceOfPng's choice fell on each method.
//
// Code lengths count code characters (no line breaks, no spaces) over the
// bitmaps that have a code; PSNR medians run over every bitmap, exact ones
// counting as 99 dB.
//
// Usage: xface_bench FOLDER...   (each folder's *.png files form one group,
// named after the folder)

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "platform/bytes.h"
#include "xface/xface_code.h"
#include "xface/xface_picture.h"

namespace {

using velmora::BytesOf;
using velmora::bench::Median;
using velmora::bench::PicturesIn;
using velmora::bench::ReadFile;
namespace fs = std::filesystem;
namespace xface = velmora::xface;

constexpr double kPsnrCap = 99.0;
constexpr std::size_t kMethodCount = xface::kMethods.size();
constexpr std::array<const char*, kMethodCount> kMethodNames = {"median threshold", "Floyd-Steinberg", "Bayer 8 x 8"};

struct MethodFigures {
  std::vector<double> codeLengths;
  std::vector<double> psnrs;
  int refused = 0;
  int chosen = 0;
};

struct Summary {
  int pictures = 0;
  std::array<MethodFigures, kMethodCount> methods;
  std::vector<double> chosenCodeLengths;
  std::vector<double> chosenPsnrs;
  int withoutCode = 0;
};

std::size_t IndexOf(xface::Method method) {
  return static_cast<std::size_t>(std::find(xface::kMethods.begin(), xface::kMethods.end(), method) -
                                  xface::kMethods.begin());
}

void Add(Summary& summary, const xface::Candidates& candidates) {
  ++summary.pictures;
  for (const auto& candidate : candidates) {
    MethodFigures& figures = summary.methods[IndexOf(candidate.method)];
    figures.psnrs.push_back(std::min(kPsnrCap, candidate.psnr));
    if (candidate.code) {
      figures.codeLengths.push_back(static_cast<double>(xface::CodeCharacterCount(*candidate.code)));
    } else {
      ++figures.refused;
    }
  }
  const auto& chosen = xface::ChosenCandidate(candidates);
  ++summary.methods[IndexOf(chosen.method)].chosen;
  summary.chosenPsnrs.push_back(std::min(kPsnrCap, chosen.psnr));
  if (chosen.code) {
    summary.chosenCodeLengths.push_back(static_cast<double>(xface::CodeCharacterCount(*chosen.code)));
  } else {
    ++summary.withoutCode;
  }
}

void PrintSummary(const std::string& name, const Summary& s) {
  for (std::size_t m = 0; m < kMethodCount; ++m) {
    const MethodFigures& figures = s.methods[m];
    std::printf("| %s | %d | %s | %.0f | %.2f | %d | %d |\n", name.c_str(), s.pictures, kMethodNames[m],
                Median(figures.codeLengths), Median(figures.psnrs), figures.refused, figures.chosen);
  }
  std::printf("| %s | %d | chosen | %.0f | %.2f | %d | %d |\n", name.c_str(), s.pictures, Median(s.chosenCodeLengths),
              Median(s.chosenPsnrs), s.withoutCode, s.pictures);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
    return EXIT_FAILURE;
  }
  std::map<std::string, Summary> groups;
  Summary all;
  int unreadable = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path folder(argv[i]);
    for (const fs::path& path : PicturesIn(folder)) {
      const std::string file = ReadFile(path);
      const auto grey = xface::GreyPictureOfPng(BytesOf(file));
      if (!std::holds_alternative<xface::GreyPicture>(grey)) {
        ++unreadable;
        continue;
      }
      const xface::Candidates candidates = xface::CandidatesFor(std::get<xface::GreyPicture>(grey));
      Add(groups[folder.filename().string()], candidates);
      Add(all, candidates);
    }
  }
  if (all.pictures == 0) {
    std::fprintf(stderr, "no readable pictures\n");
    return EXIT_FAILURE;
  }
  std::printf("| group | pictures | method | median code characters | median PSNR dB | no code | chosen |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (const auto& [name, summary] : groups) PrintSummary(name, summary);
  PrintSummary("all", all);
  if (unreadable > 0) std::printf("\n%d files were not readable PNG pictures and were left out.\n", unreadable);
  return EXIT_SUCCESS;
}
