// How the ink of two neighbouring letter results lies against each other
// row by row over the rows both occupy (PairExtents, pair_records.h),
// measured once per ordered pair and kept in the first result's cache.
//
// The owner keeps one entry per other result, keyed by the other's id, for
// its whole life: a pair is measured on its first request, and the size of
// that request decides the chord test and the near test for good.
#pragma once

#include <cstdint>

#include "engine/records/figure_group.h"
#include "engine/records/pair_records.h"

namespace inkrec {

// The entry for `key` in the cache, appended fresh (flag 0) when absent;
// null when the cache cannot grow. The address stays valid until the cache
// grows again.
PairExtents* find_or_append_extents(DynArray<PairExtentsEntry>& cache, std::uint32_t key);

// The owner's extents against the other result, measured with the letter
// size `size` when the pair is new; *out points into the owner's cache.
// 0; -1 when the cache cannot grow; -2 when either result has no figure,
// no geometry, no raster or a first figure without points (no measurement
// is cached then).
int score_pair_extents_cached(FigureGroup& owner, FigureGroup& other, std::int32_t size,
                              const PairExtents** out);

}  // namespace inkrec
