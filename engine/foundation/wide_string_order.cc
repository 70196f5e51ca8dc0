#include "engine/foundation/wide_string_order.h"

#include <algorithm>

namespace inkrec {

int wide_string_compare(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool wide_string_less(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return a.size() < b.size();
  return wide_string_compare(a, b) < 0;
}

bool wide_string_equal(std::u16string_view a, std::u16string_view b) { return a == b; }

int wide_string_compare_n(std::u16string_view a, std::u16string_view b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const int ua = i < a.size() ? a[i] : 0;
    const int ub = i < b.size() ? b[i] : 0;
    if (ua != ub || ua == 0) return ua - ub;
  }
  return 0;
}

}  // namespace inkrec
