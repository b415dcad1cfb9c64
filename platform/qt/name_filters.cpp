// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/name_filters.h"

#include <algorithm>

namespace velmora {
namespace {

// A plain loop: clang 14, which builds the fuzz targets, cannot compile
// std::views::split over libstdc++ 12.
std::vector<std::u16string> Fields(std::u16string_view filter) {
  std::vector<std::u16string> fields;
  std::size_t start = 0;
  for (std::size_t end = filter.find(u'|'); end != std::u16string_view::npos; end = filter.find(u'|', start)) {
    fields.emplace_back(filter.substr(start, end - start));
    start = end + 1;
  }
  fields.emplace_back(filter.substr(start));
  return fields;
}

std::u16string NameFilter(const std::u16string& description, std::u16string patterns) {
  std::ranges::replace(patterns, u';', u' ');
  if (patterns.empty() || description.find(u"(" + patterns + u")") != std::u16string::npos) return description;
  return description + u" (" + patterns + u")";
}

}  // namespace

std::vector<std::u16string> NameFilters(std::u16string_view filter) {
  std::vector<std::u16string> nameFilters;
  if (filter.empty()) return nameFilters;
  const std::vector<std::u16string> fields = Fields(filter);
  for (std::size_t at = 0; at < fields.size(); at += 2) {
    nameFilters.push_back(NameFilter(fields[at], at + 1 < fields.size() ? fields[at + 1] : std::u16string()));
  }
  return nameFilters;
}

}  // namespace velmora
