#include "codec/output_string.h"

#include <sys/mman.h>

#include <cstdint>

namespace velmora {
namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kPageBytes = 4096;

void AdviseHugePages(char16_t* data, std::size_t bytes) {
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t aligned = (start + kPageBytes - 1) & ~std::uintptr_t{kPageBytes - 1};
  const std::uintptr_t end = start + bytes;
  if (end > aligned) ::madvise(reinterpret_cast<void*>(aligned), end - aligned, MADV_HUGEPAGE);
}

}  // namespace

std::u16string MakeOutputString(std::size_t length) {
  std::u16string out;
  const std::size_t bytes = length * sizeof(char16_t);
  if (bytes >= 2 * kHugePageBytes) {
    out.reserve(length);  // allocates without touching the pages
    AdviseHugePages(out.data(), bytes);
  }
  out.resize(length);
  return out;
}

}  // namespace velmora
