// RafSampleCells: the SampleCells the engine hands the data store, which
// finds the cells of a sample with the RAF features of its figure
// (train_on_sample). One work area serves every sample of a build and is
// sized again when the next build begins.
#pragma once

#include <cstdint>
#include <span>

#include "engine/analysis/figure_rafs.h"
#include "engine/database/sample_cells.h"

namespace inkrec {

class RafSampleCells final : public SampleCells {
 public:
  int begin_build(std::uint32_t total_cells, const DynArray<Raf>& rafs) override;
  int sample_cells(const StrokeArray& strokes, std::span<const int> angle_offsets,
                   std::int32_t* step_size, std::int32_t stroke_index, std::int32_t first_point,
                   std::int32_t last_point, const DynArray<std::uint16_t>* enabled,
                   std::span<const DynArray<std::uint16_t>>* hit_lists) override;

 private:
  SampleFeatureWork work_;
};

}  // namespace inkrec
