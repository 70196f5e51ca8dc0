// RafContext: the feature work of one figure group, reused for group after
// group: one 16-bit counter per cell of all RAFs of the database and the
// indices of the counters that are not zero.
//
// The caller sizes and zeroes it (reset) before each group; clear frees it.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class RafContext {
 public:
  // n zero counters and an empty list of non-zero ones with room for n: 0,
  // or -1 when memory runs out (the context is then empty).
  int reset(std::uint32_t n);
  // Frees everything.
  void clear();

  DynArray<std::uint16_t>& values() { return values_; }
  const DynArray<std::uint16_t>& values() const { return values_; }
  DynArray<std::uint16_t>& nonzero() { return nonzero_; }
  const DynArray<std::uint16_t>& nonzero() const { return nonzero_; }

 private:
  DynArray<std::uint16_t> values_;
  DynArray<std::uint16_t> nonzero_;
};

}  // namespace inkrec
