// The RAF feature computation of one figure: every enabled Raf record of a
// list computed into the context's feature vector, block by block.
//
// The caller resets the vector once per figure (RafContext::reset with the
// database's total cell count), and for each pass empties the work area,
// loads the normalised strokes and calls compute_rafs; the counters of all
// passes add up in the one vector, whose non-zero indices are listed anew at
// the end of every call.
#pragma once

#include <cstdint>

#include "engine/analysis/raf_context.h"
#include "engine/database/data_records.h"
#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

// Feature codes are Raf ids 0..19.
inline constexpr int kRafFeatureCodeCount = 20;

// One Raf record as handed to its extractor.
struct RafDescriptor {
  Raf raf{};
  const RafEndSwitches* end_switches = nullptr;  // null: starts and ends both count
  // Feature indices (code - 1) to compute; null or empty enables all.
  const DynArray<std::uint16_t>* enabled = nullptr;
};

// Prepares the work area from its strokes against the figure box (in the
// normalised frame), computes every Raf of the list in order, lists the
// non-zero counters, and checks that there are at least three. 0, or the
// first error: a preparation error (raf_preparation.h), an extractor's
// error, 7009 for a code without an extractor, 7010 for fewer than three
// non-zero counters; -1 when the non-zero list cannot grow. With the
// generic flag, codes 1, 5 and 12 are skipped and code 0 runs; without it,
// code 0 is skipped.
int compute_rafs(RafContext& context, const DynArray<Raf>& rafs, Box16 figure_box,
                 const RafEndSwitches* end_switches, const DynArray<std::uint16_t>* enabled,
                 bool generic);

// One Raf: 0 when it is not enabled, 7009 for a code without an extractor,
// else the grid's error or the extractor's result.
int compute_raf(const RafDescriptor& descriptor, RafContext& context, bool generic);

// The training tools' name of a feature code ("01-Dir4" .. "19-TranfCos";
// "empty!!!" for 3 and 9); null for codes outside 1..19.
const char16_t* raf_feature_name(int code);
// The number of names other than "empty!!!" (17).
int named_raf_feature_count();

// The status a letter candidate takes from its feature computation: an
// error of the figure's own features (category 7, or a raster point outside
// the figure's grids) rejects the candidate (-100) so that recognition goes
// on with the others; every other status stays.
int candidate_status_of_features(int status);

}  // namespace inkrec
