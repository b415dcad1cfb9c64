// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reduces a picture to a palette with libimagequant, at any colour count and
// dithering level, reusing the palette found for a count.

#include <map>
#include <memory>

#include "fit/indexed_picture.h"
#include "fit/picture.h"

struct liq_attr;
struct liq_image;
struct liq_result;

namespace velmora::fit {

inline constexpr int kMinColours = 2;
inline constexpr int kMaxColours = 256;

class Quantiser {
 public:
  // Keeps a reference to the picture, which must outlive the quantiser.
  // Throws std::bad_alloc when memory runs out.
  explicit Quantiser(const Picture& picture);
  Quantiser(const Quantiser&) = delete;
  Quantiser& operator=(const Quantiser&) = delete;
  ~Quantiser();

  // The picture in at most maxColours colours (kMinColours..kMaxColours),
  // remapped with Floyd-Steinberg dithering of the given strength (0 none,
  // 1 full). The palette may hold fewer colours than asked for. Throws
  // std::bad_alloc when memory runs out.
  [[nodiscard]] IndexedPicture Quantise(int maxColours, float ditherLevel);

 private:
  struct Deleter {
    void operator()(liq_attr* attr) const;
    void operator()(liq_image* image) const;
    void operator()(liq_result* result) const;
  };

  liq_result& PaletteFor(int maxColours);

  const Picture& picture_;
  std::unique_ptr<liq_attr, Deleter> attr_;
  std::unique_ptr<liq_image, Deleter> image_;
  std::map<int, std::unique_ptr<liq_result, Deleter>> palettes_;
};

}  // namespace velmora::fit
