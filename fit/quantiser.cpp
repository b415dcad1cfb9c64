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

Quantiser::Quantiser(const Picture& picture, int speed) : picture_(picture), attr_(Created(liq_attr_create())) {
  Check(liq_set_speed(attr_.get(), speed));
  image_.reset(Created(liq_image_create_rgba(attr_.get(), picture_.rgba.data(), picture_.width,
                                             picture_.height, 0.0)));
}

Quantiser::~Quantiser() = default;

std::vector<Colour> Quantiser::Palette(int maxColours) {
  Check(liq_set_max_colors(attr_.get(), maxColours));
  const OnTheCallingThread alone;
  liq_result* quantised = nullptr;
  Check(liq_image_quantize(image_.get(), attr_.get(), &quantised));
  const std::unique_ptr<liq_result, Deleter> result(quantised);
  // Remapping refines the palette: each entry moves to the mean of the
  // pixels it takes. The pixels themselves are mapped afresh
  // (fit/smoothing.h).
  Check(liq_set_dithering_level(result.get(), 0.0f));
  std::vector<std::uint8_t> indices(picture_.PixelCount());
  Check(liq_write_remapped_image(result.get(), image_.get(), indices.data(), indices.size()));
  const liq_palette* palette = liq_get_palette(result.get());
  std::vector<Colour> colours;
  for (unsigned i = 0; i < palette->count; ++i) {
    const liq_color& entry = palette->entries[i];
    // libimagequant leaves some colour in a fully transparent entry; the
    // canvas holds transparent black there, and so does the file.
    colours.push_back(entry.a == 0 ? kTransparentBlack : Colour{entry.r, entry.g, entry.b, entry.a});
  }
  return colours;
}

}  // namespace velmora::fit
