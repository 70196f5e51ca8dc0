#include "app/composition/code_pattern.h"

#include <new>
#include <utility>

namespace ductra {

CodePattern::CodePattern(std::initializer_list<CodeList> positions) {
  for (const CodeList& list : positions) {
    if (!append_position(list)) break;
  }
}

CodePattern::CodePattern(const PatternEntry& entry)
    : characters_(entry.characters.begin(), entry.characters.end()) {
  for (CodeSpan codes : entry.positions) {
    if (!append_position(CodeList(codes))) break;
  }
}

bool CodePattern::append_position(CodeList list) {
  if (list.count() == 0 || positions_.size() == kMaxPositions) return false;
  positions_.push_back(std::move(list));
  return true;
}

int CodePattern::insert_list(std::size_t index, const CodeList& list) {
  if (index > positions_.size()) return -2;
  try {
    positions_.insert(positions_.begin() + static_cast<std::ptrdiff_t>(index), list);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 0;
}

}  // namespace ductra
