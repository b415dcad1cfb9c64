// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture corpus the fit and X-Face benchmarks read (scripts/fit-corpus),
// and the median they report.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace velmora::bench {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The folder's PNG files in name order.
inline std::vector<std::filesystem::path> PicturesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> pictures;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".png") pictures.push_back(entry.path());
  }
  std::sort(pictures.begin(), pictures.end());
  return pictures;
}

// 0 for no values.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

}  // namespace velmora::bench
