// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Allocation of result strings that the codec fills in full.

#include <cstddef>
#include <string>

namespace velmora {

// Readies the memory of a result of `length` characters: a large one is
// backed by huge pages where the system offers them, all mapped by one system
// call, since filling tens of megabytes of fresh 4 KiB pages costs more page
// faults than the work that fills them.
void PrepareOutput(char16_t* data, std::size_t length);

// A string of `length` characters, all of them written by `fill(data)`. The
// characters are not set to NUL first: clearing a result only to overwrite
// it costs as much as a tenth of the conversion.
template <class Fill>
[[nodiscard]] std::u16string MakeOutputString(std::size_t length, Fill fill) {
  std::u16string out;
  // The second argument is not `length` in libstdc++ 12 but the capacity it
  // chose.
  out.resize_and_overwrite(length, [&](char16_t* data, std::size_t) {
    PrepareOutput(data, length);
    fill(data);
    return length;
  });
  return out;
}

}  // namespace velmora
