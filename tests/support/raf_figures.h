// RAF lists and figures for tests and benchmarks: Raf records laid out one
// after another, and a helper that loads strokes in the normalised frame
// into a RafContext and computes the list over them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "engine/analysis/raf_context.h"
#include "engine/analysis/raf_features.h"
#include "engine/database/data_records.h"
#include "engine/foundation/polylines.h"

namespace inkrec::test {

struct RafShape {
  std::uint16_t code;
  std::uint8_t nx;
  std::uint8_t ny;
};

// Raf records with consecutive offsets from 0.
inline DynArray<Raf> raf_list(std::initializer_list<RafShape> shapes) {
  DynArray<Raf> rafs;
  std::uint16_t offset = 0;
  for (const RafShape& shape : shapes) {
    rafs.push_back(Raf{offset, shape.code, shape.nx, shape.ny, 1, 0});
    offset = static_cast<std::uint16_t>(offset + shape.nx * shape.ny);
  }
  return rafs;
}

// One record of every feature code that has an extractor, shaped as the
// extractors expect.
inline DynArray<Raf> full_raf_list() {
  return raf_list({{0, 16, 12},
                   {1, 12, 3},
                   {4, 6, 4},
                   {5, 12, 3},
                   {6, 66, 3},
                   {7, 10, 2},
                   {8, 6, 3},
                   {10, 8, 1},
                   {11, 21, 3},
                   {12, 24, 3},
                   {13, 4, 1},
                   {14, 6, 1},
                   {17, 8, 5},
                   {18, 10, 2},
                   {19, 24, 3}});
}

inline std::uint32_t total_cells(const DynArray<Raf>& rafs) {
  return rafs.empty() ? 0 : rafs.back().offset + rafs.back().cell_count();
}

struct RafRun {
  const DynArray<Raf>* rafs = nullptr;
  bool generic = false;
  const RafEndSwitches* end_switches = nullptr;
  const DynArray<std::uint16_t>* enabled = nullptr;
  const Box16* figure_box = nullptr;  // the box of the strokes when null
};

// Resets the context for the list, loads the strokes and computes the list.
inline int compute_figure(RafContext& context, const std::vector<std::vector<PackedPoint>>& strokes,
                          const RafRun& run) {
  if (context.reset(total_cells(*run.rafs)) != kOk) return kOutOfMemory;
  StrokeList list(16, true);
  for (const std::vector<PackedPoint>& points : strokes) {
    auto stroke = std::make_unique<Stroke>();
    stroke->append_n(points.data(), static_cast<std::uint32_t>(points.size()));
    list.push_back_owned(std::move(stroke));
  }
  if (const int status = context.load_strokes(list); status != kOk) return status;
  const Box16 box =
      run.figure_box != nullptr ? *run.figure_box : strokes_bounding_box(context.work.strokes);
  return compute_rafs(context, *run.rafs, box, run.end_switches, run.enabled, run.generic);
}

// The counters of one Raf block.
inline std::vector<int> block_values(const RafContext& context, const Raf& raf) {
  std::vector<int> values;
  for (std::uint32_t i = 0; i < raf.cell_count(); ++i)
    values.push_back(context.vector.values[raf.offset + i]);
  return values;
}

}  // namespace inkrec::test
