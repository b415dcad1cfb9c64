// SPDX-License-Identifier: GPL-3.0-or-later
#include "codec/output_string.h"

#include <sys/mman.h>

#include <cstdint>

namespace velmora {
namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kPageBytes = 4096;

// Asks for huge pages and maps them all at once: one system call instead of
// a page fault per page, each of which is costly under a hypervisor. Kernels
// before 5.14 refuse the second request; the pages then fault in as written.
void MapHugePages(char16_t* data, std::size_t bytes) {
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t aligned = (start + kPageBytes - 1) & ~std::uintptr_t{kPageBytes - 1};
  const std::uintptr_t end = start + bytes;
  if (end <= aligned) return;
  void* const pages = reinterpret_cast<void*>(aligned);
  ::madvise(pages, end - aligned, MADV_HUGEPAGE);
  ::madvise(pages, end - aligned, MADV_POPULATE_WRITE);
}

}  // namespace

void PrepareOutput(char16_t* data, std::size_t length) {
  const std::size_t bytes = length * sizeof(char16_t);
  if (bytes >= 2 * kHugePageBytes) MapHugePages(data, bytes);
}

}  // namespace velmora
