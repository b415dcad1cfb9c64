// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds a palette for a picture with libimagequant, at any colour count.

#include <memory>
#include <vector>

#include "fit/indexed_picture.h"
#include "fit/picture.h"

struct liq_attr;
struct liq_image;
struct liq_result;

namespace velmora::fit {

inline constexpr int kMinColours = 2;
inline constexpr int kMaxColours = 256;
// libimagequant's speed runs from 1 (slowest, best) to 10.
inline constexpr int kBestQuantiserSpeed = 1;

class Quantiser {
 public:
  // Keeps a reference to the picture, which must outlive the quantiser.
  // Throws std::bad_alloc when memory runs out.
  Quantiser(const Picture& picture, int speed);
  Quantiser(const Quantiser&) = delete;
  Quantiser& operator=(const Quantiser&) = delete;
  ~Quantiser();

  // A palette of at most maxColours colours (kMinColours..kMaxColours) for
  // the picture; it may hold fewer than asked for. Throws std::bad_alloc
  // when memory runs out.
  [[nodiscard]] std::vector<Colour> Palette(int maxColours);

 private:
  struct Deleter {
    void operator()(liq_attr* attr) const;
    void operator()(liq_image* image) const;
    void operator()(liq_result* result) const;
  };

  const Picture& picture_;
  std::unique_ptr<liq_attr, Deleter> attr_;
  std::unique_ptr<liq_image, Deleter> image_;
};

}  // namespace velmora::fit
