// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Save dialog's filter as the logic writes it, pairs of description and
// pattern separated by "|" ("Textdateien (*.txt)|*.txt"), in the form of
// Qt's name filters: one "description (patterns)" per pair.

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A description that already names its patterns in brackets stays as it is;
// "*.a;*.b" becomes "*.a *.b".
[[nodiscard]] std::vector<std::u16string> NameFilters(std::u16string_view filter);

}  // namespace velmora
