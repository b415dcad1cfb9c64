// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/png_encode.h"

#include <zlib.h>
#include <zopfli/zopfli.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <numeric>
#include <optional>
#include <string_view>

#include "face/png_header.h"

namespace velmora::fit {
namespace {

enum ColourType : char { kGrey = 0, kTruecolour = 2, kIndexed = 3, kGreyAlpha = 4, kTruecolourAlpha = 6 };
constexpr std::uint8_t kOpaque = 0xFF;
constexpr std::array kBitDepths = {1, 2, 4, 8};
// Zopfli passes: beyond 5 a Face-sized stream shrinks by a byte at most, at
// three times the cost.
constexpr int kZopfliIterations = 5;
constexpr int kRankingLevel = Z_DEFAULT_COMPRESSION;

enum FilterType : std::uint8_t { kNone = 0, kSub, kUp, kAverage, kPaeth };
constexpr std::array kFilterTypes = {kNone, kSub, kUp, kAverage, kPaeth};
// The filters tried on every row alike, besides the per-row choice: on
// real pictures up and average never give the smallest file that way.
constexpr std::array kWholePictureFilters = {kNone, kSub, kPaeth};

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

// The picture as palette indices, when it has at most 256 colours.
std::optional<IndexedPicture> Indexed(const Picture& picture) {
  IndexedPicture indexed{picture.width, picture.height, {}, {}};
  std::map<std::array<std::uint8_t, kChannels>, std::uint8_t> indexOf;
  indexed.indices.reserve(picture.PixelCount());
  for (std::size_t i = 0; i < picture.rgba.size(); i += kChannels) {
    const std::array<std::uint8_t, kChannels> rgba = {picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2],
                                                      picture.rgba[i + 3]};
    auto [entry, added] = indexOf.try_emplace(rgba, static_cast<std::uint8_t>(indexed.palette.size()));
    if (added) {
      if (indexed.palette.size() == 256) return std::nullopt;
      indexed.palette.push_back({rgba[0], rgba[1], rgba[2], rgba[3]});
    }
    indexed.indices.push_back(entry->second);
  }
  return indexed;
}

// One way of storing the pixels: the header's colour type and bit depth, the
// PLTE and tRNS contents (empty when the file has none) and the samples,
// samplesPerPixel a pixel, rows top to bottom.
struct Layout {
  ColourType colourType;
  int depth;
  int samplesPerPixel;
  std::string palette;
  std::string transparency;
  std::vector<std::uint8_t> samples;
};

using Rows = std::vector<std::vector<std::uint8_t>>;

// Each row's samples packed at the layout's bit depth, the first in the high
// bits.
Rows PackedRows(const Layout& layout, int width, int height) {
  const auto rowSamples = static_cast<std::size_t>(width * layout.samplesPerPixel);
  const auto perByte = static_cast<std::size_t>(8 / layout.depth);
  const auto depth = static_cast<std::size_t>(layout.depth);
  Rows rows(static_cast<std::size_t>(height), std::vector<std::uint8_t>((rowSamples + perByte - 1) / perByte));
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < rowSamples; ++x) {
      const auto shift = static_cast<int>(8 - depth * (x % perByte + 1));
      rows[y][x / perByte] |= static_cast<std::uint8_t>(layout.samples[y * rowSamples + x] << shift);
    }
  }
  return rows;
}

std::string PaletteEntries(const std::vector<Colour>& palette) {
  std::string entries;
  for (const Colour& colour : palette) {
    entries += {static_cast<char>(colour.red), static_cast<char>(colour.green), static_cast<char>(colour.blue)};
  }
  return entries;
}

// The alpha of each entry up to the last one that is not opaque.
std::string PaletteTransparency(const std::vector<Colour>& palette) {
  std::string alphas;
  for (const Colour& colour : palette) {
    if (colour.alpha == kOpaque) break;
    alphas.push_back(static_cast<char>(colour.alpha));
  }
  return alphas;
}

// Every bit depth from the smallest that holds the palette up to 8.
std::vector<Layout> IndexedLayouts(const IndexedPicture& compact) {
  std::vector<Layout> layouts;
  for (const int depth : kBitDepths) {
    if (compact.palette.size() > (std::size_t{1} << depth)) continue;
    layouts.push_back({kIndexed, depth, 1, PaletteEntries(compact.palette), PaletteTransparency(compact.palette),
                       compact.indices});
  }
  return layouts;
}

Colour PixelAt(const Picture& picture, std::size_t pixel) {
  const std::uint8_t* rgba = &picture.rgba[pixel * kChannels];
  return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// How a picture's colours can be stored without a palette.
struct DirectColours {
  bool grey = true;                  // every colour grey
  bool opaque = true;                // every colour opaque
  bool blackIsFree = true;           // no opaque colour is black
  bool onlyTransparentBlack = true;  // every colour that is not opaque is transparent black
  int greyDepth = 1;                 // the smallest bit depth that holds every grey level exactly

  explicit DirectColours(const Picture& picture) {
    for (std::size_t i = 0; i < picture.PixelCount(); ++i) {
      const Colour colour = PixelAt(picture, i);
      grey = grey && colour.red == colour.green && colour.green == colour.blue;
      opaque = opaque && colour.alpha == kOpaque;
      if (colour.alpha == kOpaque) {
        blackIsFree = blackIsFree && (colour.red | colour.green | colour.blue) != 0;
      } else {
        onlyTransparentBlack = onlyTransparentBlack && colour == kTransparentBlack;
      }
      while (greyDepth < 8 && colour.red % GreyStep(greyDepth) != 0) greyDepth *= 2;
    }
  }

  // The value of one step at a grey bit depth: 255, 85, 17 or 1.
  static int GreyStep(int depth) { return 255 / ((1 << depth) - 1); }

  // Without an alpha channel a transparent pixel is black marked by tRNS.
  [[nodiscard]] bool NeedAlphaChannel() const { return !opaque && !(onlyTransparentBlack && blackIsFree); }
};

// The picture as grey or truecolour samples, with an alpha channel only when
// the black key of tRNS can't stand for the transparent pixels.
Layout DirectLayout(const Picture& picture) {
  const DirectColours colours(picture);
  const bool alpha = colours.NeedAlphaChannel();
  const int channels = colours.grey ? 1 : 3;
  Layout layout{};
  layout.colourType = colours.grey ? (alpha ? kGreyAlpha : kGrey) : (alpha ? kTruecolourAlpha : kTruecolour);
  layout.depth = colours.grey && !alpha ? colours.greyDepth : 8;
  layout.samplesPerPixel = channels + (alpha ? 1 : 0);
  // A tRNS key holds a 16-bit value for each channel; black is all zero.
  if (!colours.opaque && !alpha) layout.transparency.assign(static_cast<std::size_t>(2 * channels), '\0');
  const int step = DirectColours::GreyStep(layout.depth);
  layout.samples.reserve(picture.PixelCount() * static_cast<std::size_t>(layout.samplesPerPixel));
  for (std::size_t i = 0; i < picture.PixelCount(); ++i) {
    const Colour colour = PixelAt(picture, i);
    if (colours.grey) {
      layout.samples.push_back(static_cast<std::uint8_t>(colour.red / step));
    } else {
      layout.samples.insert(layout.samples.end(), {colour.red, colour.green, colour.blue});
    }
    if (alpha) layout.samples.push_back(colour.alpha);
  }
  return layout;
}

std::uint8_t Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<std::uint8_t>(left);
  return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// The row filtered with one type. The neighbour to the left is the byte
// `stride` bytes back: the same sample of the pixel before, or for pixels of
// less than a byte the byte before.
std::vector<std::uint8_t> Filtered(const std::vector<std::uint8_t>& row, const std::vector<std::uint8_t>& above,
                                   FilterType type, std::size_t stride) {
  std::vector<std::uint8_t> out{type};
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int left = i >= stride ? row[i - stride] : 0;
    const int up = above[i];
    const int upLeft = i >= stride ? above[i - stride] : 0;
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

std::vector<std::string> ScanlineChoices(const Rows& rows, std::size_t stride) {
  std::vector<std::string> choices;
  for (const FilterType type : kWholePictureFilters) {
    choices.push_back(FilteredScanlines(rows, [type, stride](const auto& row, const auto& above) {
      return Filtered(row, above, type, stride);
    }));
  }
  choices.push_back(FilteredScanlines(rows, [stride](const auto& row, const auto& above) {
    std::vector<std::uint8_t> best;
    for (const FilterType type : kFilterTypes) {
      auto filtered = Filtered(row, above, type, stride);
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

std::string Zlib(const std::string& raw, int level) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), level) != Z_OK) {
    throw std::bad_alloc();  // the only failure left with a large enough buffer
  }
  out.resize(size);
  return out;
}

std::string Header(int width, int height, const Layout& layout) {
  std::string header;
  face::AppendBigEndian32(header, static_cast<std::uint32_t>(width));
  face::AppendBigEndian32(header, static_cast<std::uint32_t>(height));
  // deflate, adaptive filters, no interlace
  header += {static_cast<char>(layout.depth), static_cast<char>(layout.colourType), 0, 0, 0};
  return header;
}

std::string File(int width, int height, const Layout& layout, const std::string& imageData) {
  std::string png(face::kPngSignature);
  PutChunk(png, "IHDR", Header(width, height, layout));
  if (!layout.palette.empty()) PutChunk(png, "PLTE", layout.palette);
  if (!layout.transparency.empty()) PutChunk(png, "tRNS", layout.transparency);
  PutChunk(png, "IDAT", imageData);
  PutChunk(png, "IEND", "");
  return png;
}

// The bytes of the layout's PLTE and tRNS chunks.
std::size_t OwnChunkBytes(const Layout& layout) {
  constexpr std::size_t kChunkFrame = 12;  // length, type and CRC
  std::size_t bytes = 0;
  for (const std::string* data : {&layout.palette, &layout.transparency}) {
    if (!data->empty()) bytes += kChunkFrame + data->size();
  }
  return bytes;
}

// zlib at its default level ranks the layouts and filter choices about as
// its best level and zopfli would, at a third of the cost of its best level.
// The winner is deflated at zlib's best level and, with Deflater::kZopfli, by
// zopfli too, and the smaller stream is kept.
std::string SmallestFile(int width, int height, const std::vector<Layout>& layouts, Deflater deflater) {
  struct Choice {
    const Layout* layout;
    std::string scanlines;
    std::size_t fileSize;  // less what every layout's file holds alike
  };
  std::optional<Choice> best;
  for (const Layout& layout : layouts) {
    const auto stride = static_cast<std::size_t>(std::max(1, layout.samplesPerPixel * layout.depth / 8));
    for (std::string& scanlines : ScanlineChoices(PackedRows(layout, width, height), stride)) {
      const std::size_t size = OwnChunkBytes(layout) + Zlib(scanlines, kRankingLevel).size();
      if (!best || size < best->fileSize) best = Choice{&layout, std::move(scanlines), size};
    }
  }
  std::string imageData = Zlib(best->scanlines, Z_BEST_COMPRESSION);
  if (deflater == Deflater::kZopfli) {
    std::string zopfli = ZopfliZlib(best->scanlines);
    if (zopfli.size() < imageData.size()) imageData = std::move(zopfli);
  }
  return File(width, height, *best->layout, imageData);
}

}  // namespace

std::string EncodePng(const IndexedPicture& indexed, Deflater deflater, Truecolour truecolour) {
  const IndexedPicture compact = Compacted(indexed);
  std::vector<Layout> layouts = IndexedLayouts(compact);
  const Picture pixels = Expand(compact);
  if (truecolour == Truecolour::kTry || DirectColours(pixels).grey) layouts.push_back(DirectLayout(pixels));
  return SmallestFile(indexed.width, indexed.height, layouts, deflater);
}

std::size_t ImageDataBytes(std::string_view png) {
  constexpr std::size_t kLengthAndType = 8;
  constexpr std::size_t kCrc = 4;
  std::size_t bytes = 0;
  for (std::size_t at = face::kPngSignature.size(); at + kLengthAndType <= png.size();) {
    const std::size_t length = face::ReadBigEndian32(png.substr(at));
    if (png.substr(at + 4, 4) == "IDAT") bytes += length;
    at += kLengthAndType + length + kCrc;
  }
  return bytes;
}

std::string EncodePng(const Picture& picture, Deflater deflater) {
  if (const auto indexed = Indexed(picture)) return EncodePng(*indexed, deflater);
  return SmallestFile(picture.width, picture.height, {DirectLayout(picture)}, deflater);
}

}  // namespace velmora::fit
