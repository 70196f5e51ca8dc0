// add_unique: the small sets of the matcher (a figure's codes, an answer's
// characters) are vectors kept in first-seen order; add_unique appends a
// value unless the set already holds it. Allocation failure throws
// std::bad_alloc.
#pragma once

#include <algorithm>
#include <vector>

namespace ductra {

template <class T>
void add_unique(std::vector<T>& set, T value) {
  if (std::ranges::find(set, value) == set.end()) set.push_back(value);
}

}  // namespace ductra
