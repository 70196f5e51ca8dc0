// Building an etalon from the samples of a shape, and replaying the
// corrections trained since.
#include "engine/database/knowledge_base.h"
#include "engine/database/sample_cells.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

// A sample counts at its own vertical direction and turned by 12 degrees
// either way; a correction only as it was written.
constexpr int kSampleAngleOffsets[] = {0, -12, 12};
constexpr int kCorrectionAngleOffsets[] = {0};

// The step a correction was trained with: +1 or -1 by its mark, spread by
// its second and third words.
TrainingStep correction_step(const Tag4Record& correction) {
  return {correction.words[0] == 1 ? 1 : -1, static_cast<int>(correction.words[1]),
          static_cast<int>(correction.words[2])};
}

}  // namespace

int KnowledgeBase::build_etalon(const Shape& shape, const DynArray<Tag4Record>* replay,
                                Etalon& out) {
  if (const int status = refresh(); status != kOk) return status;
  if (sample_cells_ == nullptr) return kKbUnexpectedInterface;
  Etalon built;
  if (built.cells.resize(total_cells(), kCellLevelZero) != kOk ||
      sample_cells_->begin_build(total_cells(), rafs_) != kOk) {
    return kOutOfMemory;
  }
  std::span<const DynArray<std::uint16_t>> hit_lists;
  for (const Sample& sample : shape.samples) {
    if (sample.strokes.empty()) break;
    std::int32_t step_size = -1;  // derived from the sample
    if (const int status = sample_cells_->sample_cells(sample.strokes, kSampleAngleOffsets,
                                                       &step_size, -1, -1, -1, nullptr, &hit_lists);
        status != kOk) {
      return status;
    }
    for (const DynArray<std::uint16_t>& hits : hit_lists) {
      if (const int status = check_hit_list(built, hits.span()); status != kOk) return status;
      add_build_hits(built, hits.span());
    }
  }
  compute_etalon_stats(built, cell_weights_.span());

  if (replay != nullptr) {
    for (const Tag4Record& correction : *replay) {
      const TrainingStep step = correction_step(correction);
      if (const int status = check_training_step(step); status != kOk) return status;
      auto step_size = static_cast<std::int32_t>(correction.words[6]);
      if (const int status = sample_cells_->sample_cells(
              correction.strokes, kCorrectionAngleOffsets, &step_size,
              static_cast<std::int32_t>(correction.words[3]),
              static_cast<std::int32_t>(correction.words[4]),
              static_cast<std::int32_t>(correction.words[5]), &correction.items, &hit_lists);
          status != kOk) {
        return status;
      }
      for (const DynArray<std::uint16_t>& hits : hit_lists) {
        if (const int status = check_hit_list(built, hits.span()); status != kOk) return status;
        apply_training_step(built, step, hits.span(), cell_weights_.span());
      }
    }
  }
  out.cells.swap(built.cells);
  out.stats = built.stats;
  return kOk;
}

}  // namespace inkrec
