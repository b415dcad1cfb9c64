#include "fit/quantiser.h"

#include <libimagequant.h>

#include <new>
#include <stdexcept>
#include <string>

namespace velmora::fit {
namespace {

// 1 is libimagequant's slowest and best setting; a Face has only
// kFaceSide * kFaceSide pixels, so the best costs little.
constexpr int kQuantiserSpeed = 4;

void Check(liq_error error) {
  if (error == LIQ_OK) return;
  if (error == LIQ_OUT_OF_MEMORY) throw std::bad_alloc();
  throw std::runtime_error("libimagequant error " + std::to_string(static_cast<int>(error)));
}

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
    Check(liq_image_quantize(image_.get(), attr_.get(), &result));
    palette.reset(result);
  }
  return *palette;
}

IndexedPicture Quantiser::Quantise(int maxColours, float ditherLevel) {
  liq_result& result = PaletteFor(maxColours);
  Check(liq_set_dithering_level(&result, ditherLevel));
  IndexedPicture indexed{picture_.width, picture_.height, std::vector<std::uint8_t>(picture_.PixelCount()), {}};
  Check(liq_write_remapped_image(&result, image_.get(), indexed.indices.data(), indexed.indices.size()));
  // Read after remapping, which refines the palette.
  const liq_palette* palette = liq_get_palette(&result);
  for (unsigned i = 0; i < palette->count; ++i) {
    const liq_color& entry = palette->entries[i];
    indexed.palette.push_back({entry.r, entry.g, entry.b, entry.a});
  }
  return indexed;
}

}  // namespace velmora::fit
