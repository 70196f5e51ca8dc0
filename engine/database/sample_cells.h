// SampleCells: how the knowledge base learns which feature cells the ink of
// a written sample falls into when it builds an etalon.
//
// The database computes no features of its own. The engine hands the store
// an implementation (the RAF features of the stroke analysis) when it opens
// the data file; a knowledge base without one cannot build etalons and
// answers 14006 instead. Only the thread working on the store calls it.
#pragma once

#include <cstdint>
#include <span>

#include "engine/database/data_records.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/tagged_records.h"

namespace inkrec {

class SampleCells {
 public:
  virtual ~SampleCells() = default;

  // Starts a build over `total_cells` feature cells computed with `rafs`,
  // which must outlive the build: 0, or -1 when memory runs out.
  virtual int begin_build(std::uint32_t total_cells, const DynArray<Raf>& rafs) = 0;

  // Points *hit_lists at the cells the sample's strokes fall into, one list
  // of ascending cell indices per angle offset d, the figure computed at its
  // own vertical direction + d. The strokes are first reduced to their
  // trajectories with the step *step_size, or, when that is below 1, with a
  // step derived from the strokes, which is written back. With a stroke
  // index of 0 or more only the piece of that stroke from the point
  // numbered first_point to the one numbered last_point counts, and
  // `enabled` (may be null) tells the features which cells to compute. The
  // lists stay valid until the next call. 0; -5 when the piece's points are
  // not among the trajectory's; -2 for a stroke index past the strokes or
  // a call outside a build; -1 out of memory; else the first error of the
  // trajectory, geometry or features.
  virtual int sample_cells(const StrokeArray& strokes, std::span<const int> angle_offsets,
                           std::int32_t* step_size, std::int32_t stroke_index,
                           std::int32_t first_point, std::int32_t last_point,
                           const DynArray<std::uint16_t>* enabled,
                           std::span<const DynArray<std::uint16_t>>* hit_lists) = 0;
};

}  // namespace inkrec
