#include "platform/qt/name_filters.h"

#include <algorithm>
#include <ranges>

namespace velmora {
namespace {

std::vector<std::u16string> Fields(std::u16string_view filter) {
  std::vector<std::u16string> fields;
  for (const auto field : std::views::split(filter, u'|')) fields.emplace_back(field.begin(), field.end());
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
