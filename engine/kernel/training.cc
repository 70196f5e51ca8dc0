// Training from a sample: ink of the last recognition becomes a correction
// sample, whose feature cells train a variant of the database.
#include <algorithm>
#include <limits>

#include "engine/analysis/figure_rafs.h"
#include "engine/analysis/raf_features.h"
#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/figure_records.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

// The sample's words: [0] marked by the knowledge base, [1] p1, [2] p2,
// [3] to [5] the stroke index, first and last point of a piece (-1: whole
// strokes), [6] the trajectory step (-1: derived from the sample).
constexpr std::uint32_t kNotGiven = static_cast<std::uint32_t>(-1);

// The sample without ink: the request's two values, the step's values and
// the features to use (none listed when all are).
int start_sample(const CorrectionRequest* request, int p1, int p2,
                 const DynArray<std::uint32_t>* feature_codes, Tag4Record& sample) {
  if (request == nullptr || request->values == nullptr) return kBadArgument;
  sample.a = request->values[kSampleValueEntries[0]];
  sample.b = request->values[kSampleValueEntries[1]];
  const std::uint32_t words[7] = {0,
                                  static_cast<std::uint32_t>(p1),
                                  static_cast<std::uint32_t>(p2),
                                  kNotGiven,
                                  kNotGiven,
                                  kNotGiven,
                                  kNotGiven};
  std::copy(std::begin(words), std::end(words), sample.words);
  if (feature_codes == nullptr) return kOk;
  for (const std::uint32_t code : *feature_codes) {
    if (sample.items.push_back(static_cast<std::uint16_t>(code)) != kOk) return kOutOfMemory;
  }
  if (sample.items.size() == static_cast<std::uint32_t>(named_raf_feature_count())) {
    sample.items.clear();
  }
  return kOk;
}

// The points of one stroke that a sample takes: the least first and the
// greatest last of the candidates on it, as indices of its stroke record's
// trajectory points.
struct StrokeSpan {
  std::int32_t first = std::numeric_limits<std::int32_t>::max();
  std::int32_t last = -1;

  bool empty() const { return last < first; }
};

}  // namespace

int Kernel::collect_sample_runs(Tag4Record& sample, const CorrectionRequest& request) {
  const std::uint32_t lines = search_->text_line_count();
  if (request.figures.empty() || lines == 0) return kBadArgument;
  const FigureRecord* first = request.figures[0];
  if (first == nullptr || first->line_index >= lines) return kBadArgument;

  DynArray<StrokeSpan> spans;
  for (const std::uint32_t index : request.figure_indices) {
    const FigureRecord* candidate = search_->line_candidate(first->line_index, index);
    if (candidate == nullptr || candidate->run.count < 1) return kBadArgument;
    const std::uint32_t stroke = candidate->stroke_index;
    if (stroke >= spans.size() && spans.resize(stroke + 1) != kOk) return kOutOfMemory;
    StrokeSpan& span = spans[stroke];
    span.first = std::min<std::int32_t>(span.first, candidate->first_point);
    span.last =
        std::max<std::int32_t>(span.last, candidate->first_point + candidate->run.count - 1);
  }

  for (std::uint32_t s = 0; s < spans.size(); ++s) {
    const StrokeSpan& span = spans[s];
    if (span.empty()) continue;
    const StrokeRecord* record = search_->stroke_record(s);
    const Stroke* stroke = pane_.strokes().item_checked(s);
    if (record == nullptr || stroke == nullptr || record->run.points == nullptr ||
        span.last >= record->run.count) {
      return kBadArgument;
    }
    const std::uint32_t from = point_number_of(record->run.points[span.first]);
    const std::uint32_t to = point_number_of(record->run.points[span.last]);
    if (to < from || to >= stroke->size()) return kBadArgument;
    Stroke* run = sample.strokes.push_default();
    if (run == nullptr || run->append_n(stroke->data() + from, to - from + 1) != kOk) {
      return kOutOfMemory;
    }
  }
  return kOk;
}

// The hit list of the sample's features trains the variant (or the
// variants); the step derived for the sample is kept in it.
int Kernel::train_with_sample(Tag4Record& sample, int variant_id, int step, int keep_counts,
                              const DynArray<std::uint16_t>* variants) {
  SampleFeatureWork work;
  work.rafs = &data_store_->raf_table();
  if (const int status = work.context.reset(data_store_->raf_total_cells()); status != kOk) {
    return status;
  }
  const int offsets[] = {0};
  auto step_size = static_cast<std::int32_t>(sample.words[6]);
  const int status = train_on_sample(work, sample.strokes, offsets, &step_size,
                                     static_cast<std::int32_t>(sample.words[3]),
                                     static_cast<std::int32_t>(sample.words[4]),
                                     static_cast<std::int32_t>(sample.words[5]), &sample.items);
  if (status != kOk) return status;
  sample.words[6] = static_cast<std::uint32_t>(step_size);
  const std::span<const std::uint16_t> hits = work.hit_lists[0].span();
  if (variants != nullptr && !variants->empty()) {
    return data_store_->replace_variants(variants->span(), step, hits, sample);
  }
  const auto id = static_cast<std::uint16_t>(variant_id & 0xFFFF);
  return keep_counts != 0 ? data_store_->replace_variant(id, step, hits, sample)
                          : data_store_->update_variant(id, step, hits, sample);
}

int Kernel::make_correction(const CorrectionRequest* request, int variant_id, int step,
                            int keep_counts, int p1, int p2,
                            const DynArray<std::uint32_t>* feature_codes,
                            const DynArray<std::uint16_t>* variants) {
  if (variant_id < 0) return kUndocumented;
  Tag4Record sample;
  int status = start_sample(request, p1, p2, feature_codes, sample);
  if (status == kOk) status = collect_sample_runs(sample, *request);
  if (status == kOk) status = train_with_sample(sample, variant_id, step, keep_counts, variants);
  return status;
}

// The piece's first and last point become point numbers counted from the
// figure's first point, on the sample's run at the figure's position.
int Kernel::make_correction_special(const CorrectionRequest* request, int figure_index,
                                    int start_point, int end_point, int variant_id, int step,
                                    int keep_counts, int p1, int p2,
                                    const DynArray<std::uint32_t>* feature_codes,
                                    const DynArray<std::uint16_t>* variants) {
  if (request == nullptr) return kBadArgument;
  if (variant_id < 0 || figure_index < 0 ||
      static_cast<std::uint32_t>(figure_index) >= request->figures.size()) {
    return kUndocumented;
  }
  const FigureRecord* figure = request->figures[static_cast<std::uint32_t>(figure_index)];
  if (figure == nullptr) return kBadArgument;
  const std::int32_t count = figure->run.points == nullptr ? 0 : figure->run.count;
  const std::int32_t start = start_point == -1 ? 0 : start_point;
  const std::int32_t end = end_point == -1 ? count - 1 : end_point;
  if (start < 0 || start > end || end >= count) return kUndocumented;

  Tag4Record sample;
  int status = start_sample(request, p1, p2, feature_codes, sample);
  if (status == kOk) status = collect_sample_runs(sample, *request);
  if (status != kOk) return status;
  const int base = point_number_of(figure->run.points[0]);
  sample.words[3] = static_cast<std::uint32_t>(figure_index);
  sample.words[4] = static_cast<std::uint32_t>(point_number_of(figure->run.points[start]) - base);
  sample.words[5] = static_cast<std::uint32_t>(point_number_of(figure->run.points[end]) - base);
  return train_with_sample(sample, variant_id, step, keep_counts, variants);
}

}  // namespace inkrec
