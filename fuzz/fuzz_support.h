// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets share: a broken invariant that stops the run, and
// reading their seed files.

#include <string>
#include <string_view>

namespace velmora::fuzz {

// Aborts with the invariant's name on stderr unless `holds`; libFuzzer and
// the replay program both report an abort as a failure.
void Require(bool holds, std::string_view invariant);

// The bytes of a file; a file that cannot be opened breaks an invariant.
[[nodiscard]] std::string ReadFileBytes(const std::string& path);

}  // namespace velmora::fuzz
