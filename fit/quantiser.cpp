// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/quantiser.h"

#include <libimagequant.h>
#ifdef _OPENMP
#include <omp.h>
#endif

#include <new>
#include <stdexcept>
#include <string>

namespace velmora::fit {
namespace {

// libimagequant's speed runs from 1 (slowest, best) to 10. On real pictures
// 1 gains less than 0.1 dB over 4 at a fifth more time; 7 saves a sixth of
// the time and loses up to 1 dB.
constexpr int kQuantiserSpeed = 4;

void Check(liq_error error) {
  if (error == LIQ_OK) return;
  if (error == LIQ_OUT_OF_MEMORY) throw std::bad_alloc();
  throw std::runtime_error("libimagequant error " + std::to_string(static_cast<int>(error)));
}

// libimagequant shares parts of its work out to OpenMP threads. On
// kFaceSide x kFaceSide pixels each share is tiny and the threads meet at a
// barrier after every step; on a busy machine they spin there for several times
// the work itself. Within its scope the calling thread does all the work
// alone.
#ifdef _OPENMP
int OpenMpThreads() { return omp_get_max_threads(); }
void SetOpenMpThreads(int threads) { omp_set_num_threads(threads); }
#else
int OpenMpThreads() { return 1; }
void SetOpenMpThreads(int) {}
#endif

class OnTheCallingThread {
 public:
  OnTheCallingThread() : threads_(OpenMpThreads()) { SetOpenMpThreads(1); }
  OnTheCallingThread(const OnTheCallingThread&) = delete;
  OnTheCallingThread& operator=(const OnTheCallingThread&) = delete;
  ~OnTheCallingThread() { SetOpenMpThreads(threads_); }

 private:
  int threads_;
};

template <typename T>
T* Created(T* object) {
  if (object == nullptr) throw std::bad_alloc();
  return object;
}

}  // namespace

void Quantiser::Deleter::operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
void Quantiser::Deleter::operator()(liq_image* image) const { liq_image_destroy(image); }
void Quantiser::Deleter::operator()(liq_result* result) const { liq_result_destroy(result); }

Quantiser::Quantiser(const Picture& picture) : picture_(picture), attr_(Created(liq_attr_create())) {
  Check(liq_set_speed(attr_.get(), kQuantiserSpeed));
  image_.reset(Created(liq_image_create_rgba(attr_.get(), picture_.rgba.data(), picture_.width,
                                             picture_.height, 0.0)));
}

Quantiser::~Quantiser() = default;

liq_result& Quantiser::PaletteFor(int maxColours) {
  auto& palette = palettes_[maxColours];
  if (!palette) {
    Check(liq_set_max_colors(attr_.get(), maxColours));
    liq_result* result = nullptr;
    const OnTheCallingThread alone;
    Check(liq_image_quantize(image_.get(), attr_.get(), &result));
    palette.reset(result);
  }
  return *palette;
}

IndexedPicture Quantiser::Quantise(int maxColours, float ditherLevel) {
  liq_result& result = PaletteFor(maxColours);
  Check(liq_set_dithering_level(&result, ditherLevel));
  IndexedPicture indexed{picture_.width, picture_.height, std::vector<std::uint8_t>(picture_.PixelCount()), {}};
  const OnTheCallingThread alone;
  Check(liq_write_remapped_image(&result, image_.get(), indexed.indices.data(), indexed.indices.size()));
  // Read after remapping, which refines the palette.
  const liq_palette* palette = liq_get_palette(&result);
  for (unsigned i = 0; i < palette->count; ++i) {
    const liq_color& entry = palette->entries[i];
    // libimagequant leaves some colour in a fully transparent entry; the
    // canvas holds transparent black there, and so does the file.
    indexed.palette.push_back(entry.a == 0 ? kTransparentBlack : Colour{entry.r, entry.g, entry.b, entry.a});
  }
  return indexed;
}

}  // namespace velmora::fit
