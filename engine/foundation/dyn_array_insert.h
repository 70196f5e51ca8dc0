// Insertion into a DynArray at a position, for the arrays the engine keeps
// sorted.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

// Puts value before element index (index = size() appends): 0, -2 for an
// index past the end, or -1 with the array unchanged when it cannot grow.
template <typename T>
int insert_at(DynArray<T>& array, std::uint32_t index, T value) {
  if (index > array.size()) return kBadArgument;
  if (array.push_back(std::move(value)) != kOk) return kOutOfMemory;
  // One move per element shifted (a rotation would swap each one).
  T inserted = std::move(array.back());
  std::move_backward(array.begin() + index, array.end() - 1, array.end());
  array[index] = std::move(inserted);
  return kOk;
}

}  // namespace inkrec
