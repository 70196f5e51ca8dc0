#include "engine/analysis/raf_sample_cells.h"

#include "engine/foundation/status.h"

namespace inkrec {

int RafSampleCells::begin_build(std::uint32_t total_cells, const DynArray<Raf>& rafs) {
  work_.rafs = &rafs;
  work_.hit_lists.clear();
  return work_.context.reset(total_cells);
}

int RafSampleCells::sample_cells(const StrokeArray& strokes, std::span<const int> angle_offsets,
                                 std::int32_t* step_size, std::int32_t stroke_index,
                                 std::int32_t first_point, std::int32_t last_point,
                                 const DynArray<std::uint16_t>* enabled,
                                 std::span<const DynArray<std::uint16_t>>* hit_lists) {
  if (hit_lists == nullptr) return kBadArgument;
  work_.hit_lists.clear();
  const int status = train_on_sample(work_, strokes, angle_offsets, step_size, stroke_index,
                                     first_point, last_point, enabled);
  *hit_lists = work_.hit_lists.span();
  return status;
}

}  // namespace inkrec
