// The tuples and special pairs of the active charsets, as the recognition
// kernel gathers them: pointers into the store's tables, in table order,
// valid until those tables change.
#pragma once

#include <cstdint>
#include <span>

#include "engine/database/data_store.h"
#include "engine/foundation/ptr_array.h"

namespace inkrec {

// The four special-pair lists in the order simple-simple, simple-complex,
// complex-simple, complex-complex.
struct ActiveSpecPairs {
  PtrArray<const SpecPairsEntry> ss;
  PtrArray<const SpecPairsEntry> sc;
  PtrArray<const SpecPairsEntry> cs;
  PtrArray<const SpecPairsEntry> cc;
};

// Empties `out`, then appends every Tuples entry whose charset is active:
// 0, or -1 when the list cannot grow.
int collect_active_tuples(PtrArray<const TuplesEntry>& out, std::span<const std::uint32_t> active,
                          const DataStore& store);

// The same for the four special-pair tables.
int collect_active_spec_pairs(ActiveSpecPairs& out, std::span<const std::uint32_t> active,
                              const DataStore& store);

}  // namespace inkrec
