// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Allocation of large result strings.

#include <cstddef>
#include <string>

namespace velmora {

// A string of `length` NUL characters, allocated once. A large one is backed
// by huge pages where the system offers them, all mapped by one system call:
// filling tens of megabytes of fresh 4 KiB pages costs more page faults than
// the work that fills them.
[[nodiscard]] std::u16string MakeOutputString(std::size_t length);

}  // namespace velmora
