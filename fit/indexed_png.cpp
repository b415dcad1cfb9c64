// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/indexed_png.h"

#include <zlib.h>
#include <zopfli/zopfli.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <numeric>
#include <string_view>

#include "face/png_header.h"

namespace velmora::fit {
namespace {

constexpr char kColourTypeIndexed = 3;
constexpr std::uint8_t kOpaque = 0xFF;
// Zopfli passes: beyond 5 a Face-sized stream shrinks by a byte at most, at
// three times the cost.
constexpr int kZopfliIterations = 5;

enum FilterType : std::uint8_t { kNone = 0, kSub, kUp, kAverage, kPaeth };
constexpr std::array kFilterTypes = {kNone, kSub, kUp, kAverage, kPaeth};

void PutChunk(std::string& png, std::string_view type, std::string_view data) {
  face::AppendBigEndian32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = png.size();
  png.append(type);
  png.append(data);
  const auto* typed = reinterpret_cast<const Bytef*>(png.data() + typeAt);
  const uLong crc = crc32(0, typed, static_cast<uInt>(type.size() + data.size()));
  face::AppendBigEndian32(png, static_cast<std::uint32_t>(crc));
}

// Rec. 601 luma, times 1000.
int Luma(const Colour& colour) { return 299 * colour.red + 587 * colour.green + 114 * colour.blue; }

// Translucent entries first, so that tRNS stays short; then from dark to
// light, so that neighbouring pixels of similar colour get close indices,
// which the filters turn into small differences.
bool GoesBefore(const Colour& a, const Colour& b) {
  if (a.alpha != b.alpha) return a.alpha < b.alpha;
  return Luma(a) < Luma(b);
}

// The palette reduced to the used entries in GoesBefore order, and the
// indices renumbered to match.
IndexedPicture Compacted(const IndexedPicture& indexed) {
  std::vector<std::size_t> uses(indexed.palette.size(), 0);
  for (const std::uint8_t index : indexed.indices) ++uses[index];
  std::vector<std::uint8_t> order;
  for (std::size_t i = 0; i < uses.size(); ++i) {
    if (uses[i] > 0) order.push_back(static_cast<std::uint8_t>(i));
  }
  std::stable_sort(order.begin(), order.end(), [&](std::uint8_t a, std::uint8_t b) {
    return GoesBefore(indexed.palette[a], indexed.palette[b]);
  });
  IndexedPicture compact{indexed.width, indexed.height, {}, {}};
  std::array<std::uint8_t, 256> renumbered{};
  for (std::size_t i = 0; i < order.size(); ++i) {
    renumbered[order[i]] = static_cast<std::uint8_t>(i);
    compact.palette.push_back(indexed.palette[order[i]]);
  }
  compact.indices.reserve(indexed.indices.size());
  for (const std::uint8_t index : indexed.indices) compact.indices.push_back(renumbered[index]);
  return compact;
}

int BitDepthFor(std::size_t colours) {
  for (int depth : {1, 2, 4}) {
    if (colours <= (std::size_t{1} << depth)) return depth;
  }
  return 8;
}

using Rows = std::vector<std::vector<std::uint8_t>>;

// Each row's indices packed at the bit depth, leftmost pixel in the high bits.
Rows PackedRows(const IndexedPicture& indexed, int depth) {
  const auto width = static_cast<std::size_t>(indexed.width);
  const auto perByte = static_cast<std::size_t>(8 / depth);
  Rows rows(static_cast<std::size_t>(indexed.height), std::vector<std::uint8_t>((width + perByte - 1) / perByte));
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < width; ++x) {
      const auto shift = static_cast<int>(8 - static_cast<std::size_t>(depth) * (x % perByte + 1));
      rows[y][x / perByte] |= static_cast<std::uint8_t>(indexed.indices[y * width + x] << shift);
    }
  }
  return rows;
}

std::uint8_t Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<std::uint8_t>(left);
  return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// The row filtered with one type; every pixel is one byte or less, so the
// byte to the left is the neighbour that counts.
std::vector<std::uint8_t> Filtered(const std::vector<std::uint8_t>& row, const std::vector<std::uint8_t>& above,
                                   FilterType type) {
  std::vector<std::uint8_t> out{type};
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int left = i > 0 ? row[i - 1] : 0;
    const int up = above[i];
    const int upLeft = i > 0 ? above[i - 1] : 0;
    int predicted = 0;
    switch (type) {
      case kNone: break;
      case kSub: predicted = left; break;
      case kUp: predicted = up; break;
      case kAverage: predicted = (left + up) / 2; break;
      case kPaeth: predicted = Paeth(left, up, upLeft); break;
    }
    out.push_back(static_cast<std::uint8_t>(row[i] - predicted));
  }
  return out;
}

// The heuristic PNG's authors suggest: bytes read as signed, smallest total wins.
std::size_t SumOfMagnitudes(const std::vector<std::uint8_t>& filtered) {
  return std::accumulate(filtered.begin() + 1, filtered.end(), std::size_t{0}, [](std::size_t sum, std::uint8_t b) {
    return sum + static_cast<std::size_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(b))));
  });
}

using RowFilter = std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>& row,
                                                         const std::vector<std::uint8_t>& above)>;

std::string FilteredScanlines(const Rows& rows, const RowFilter& filter) {
  std::string scanlines;
  std::vector<std::uint8_t> above(rows.front().size(), 0);
  for (const auto& row : rows) {
    const auto filtered = filter(row, above);
    scanlines.append(filtered.begin(), filtered.end());
    above = row;
  }
  return scanlines;
}

std::vector<std::string> ScanlineChoices(const Rows& rows) {
  std::vector<std::string> choices;
  for (const FilterType type : kFilterTypes) {
    choices.push_back(FilteredScanlines(rows, [type](const auto& row, const auto& above) {
      return Filtered(row, above, type);
    }));
  }
  choices.push_back(FilteredScanlines(rows, [](const auto& row, const auto& above) {
    std::vector<std::uint8_t> best;
    for (const FilterType type : kFilterTypes) {
      auto filtered = Filtered(row, above, type);
      if (best.empty() || SumOfMagnitudes(filtered) < SumOfMagnitudes(best)) best = std::move(filtered);
    }
    return best;
  }));
  return choices;
}

std::string ZopfliZlib(const std::string& raw) {
  ZopfliOptions options;
  ZopfliInitOptions(&options);
  options.numiterations = kZopfliIterations;
  // Splitting a few kilobytes into blocks saves a byte or two at a cost of
  // some 200 ms.
  options.blocksplitting = 0;
  unsigned char* out = nullptr;
  std::size_t outSize = 0;
  ZopfliCompress(&options, ZOPFLI_FORMAT_ZLIB, reinterpret_cast<const unsigned char*>(raw.data()), raw.size(), &out,
                 &outSize);
  const std::unique_ptr<unsigned char, decltype(&std::free)> owner(out, &std::free);
  if (out == nullptr) throw std::bad_alloc();
  return std::string(reinterpret_cast<const char*>(out), outSize);
}

std::string ZlibBest(const std::string& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK) {
    throw std::bad_alloc();  // the only failure left with a large enough buffer
  }
  out.resize(size);
  return out;
}

// zlib ranks the filter choices about as zopfli would, in a hundredth of the
// time.
std::string SmallestImageData(const Rows& rows, Deflater deflater) {
  const std::vector<std::string> choices = ScanlineChoices(rows);
  std::string smallest;
  std::size_t chosen = 0;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    std::string deflated = ZlibBest(choices[i]);
    if (smallest.empty() || deflated.size() < smallest.size()) {
      smallest = std::move(deflated);
      chosen = i;
    }
  }
  if (deflater == Deflater::kZlib) return smallest;
  std::string zopfli = ZopfliZlib(choices[chosen]);
  return zopfli.size() < smallest.size() ? zopfli : smallest;
}

std::string Header(const IndexedPicture& indexed, int depth) {
  std::string header;
  face::AppendBigEndian32(header, static_cast<std::uint32_t>(indexed.width));
  face::AppendBigEndian32(header, static_cast<std::uint32_t>(indexed.height));
  header += {static_cast<char>(depth), kColourTypeIndexed, 0, 0, 0};  // deflate, adaptive filters, no interlace
  return header;
}

std::string PaletteEntries(const std::vector<Colour>& palette) {
  std::string entries;
  for (const Colour& colour : palette) {
    entries += {static_cast<char>(colour.red), static_cast<char>(colour.green), static_cast<char>(colour.blue)};
  }
  return entries;
}

// The alpha of each entry up to the last one that is not opaque.
std::string Transparency(const std::vector<Colour>& palette) {
  std::string alphas;
  for (const Colour& colour : palette) {
    if (colour.alpha == kOpaque) break;
    alphas.push_back(static_cast<char>(colour.alpha));
  }
  return alphas;
}

}  // namespace

std::string EncodeIndexedPng(const IndexedPicture& indexed, Deflater deflater) {
  const IndexedPicture compact = Compacted(indexed);
  const int depth = BitDepthFor(compact.palette.size());
  std::string png(face::kPngSignature);
  PutChunk(png, "IHDR", Header(compact, depth));
  PutChunk(png, "PLTE", PaletteEntries(compact.palette));
  if (const std::string alphas = Transparency(compact.palette); !alphas.empty()) PutChunk(png, "tRNS", alphas);
  PutChunk(png, "IDAT", SmallestImageData(PackedRows(compact, depth), deflater));
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace velmora::fit
