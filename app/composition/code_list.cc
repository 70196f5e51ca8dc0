#include "app/composition/code_list.h"

#include <algorithm>

#include "app/composition/shared_code_lists.h"

namespace ductra {

CodeList::CodeList(CodeSpan codes) {
  for (std::uint16_t code : codes) {
    if (code == 0 || codes_.size() == kMaxCodes) break;
    codes_.push_back(code);
  }
}

bool CodeList::equals(CodeSpan other) const {
  return std::ranges::equal(codes_, other);
}

bool CodeList::is_wildcard() const { return equals(CodeSpan(kAnyCode)); }

bool CodeList::shares_code(CodeSpan set) const {
  return std::ranges::any_of(codes_, [set](std::uint16_t code) {
    return std::ranges::find(set, code) != set.end();
  });
}

}  // namespace ductra
