#include "engine/segmentation/line_spacing.h"

#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/gap_record.h"
#include "engine/records/letter_fields.h"
#include "engine/records/profile_pair.h"
#include "engine/segmentation/output_elements.h"

namespace inkrec {
namespace {

// The mean a statistic takes without a pair on one line.
constexpr std::int64_t kDefaultMean = 284;

// Sums over the pairs of neighbours on one line.
struct SpacingSums {
  std::int64_t pairs = 0;
  std::int64_t x_gaps = 0;
  std::int64_t distances = 0;
  std::int64_t advances = 0;
  std::int64_t profile_gaps = 0;
  std::int64_t profiles = 0;
};

bool steep(std::int32_t angle) {
  return (angle >= 36 && angle <= 154) || (angle >= 216 && angle <= 324);
}

// The least reference-x distance and the least link distance over the
// figure pairs of the two elements, as the record takes them.
void measure_nearest_figures(RecognitionContext& context, const FigureGroup& p,
                             const FigureGroup& c, GapRecord& record) {
  std::int32_t least_x = -1;
  const PairMetrics* nearest = nullptr;
  for (const FigureRecord* f : p.figures) {
    for (const FigureRecord* g : c.figures) {
      if (f == nullptr || g == nullptr) continue;
      const std::int32_t dx =
          std::abs(reference_point(f->geometry).x - reference_point(g->geometry).x);
      if (least_x < 0 || dx < least_x) least_x = dx;
      const PairMetrics* entry = context.figure_pairs().at(figure_key(*f), figure_key(*g));
      if (entry == nullptr || entry->link_distance == PairMetrics::kNotMeasured) continue;
      if (nearest == nullptr || entry->link_distance < nearest->link_distance) nearest = entry;
    }
  }
  record.x_gap = saturate_int16(least_x);
  if (nearest == nullptr) return;
  record.angle = nearest->angle;
  const std::int32_t distance = nearest->link_distance;
  record.least_distance = saturate_int16(steep(nearest->angle) ? distance * 7 / 10 : distance);
}

// The mean row gap between the elements' profiles, the left one first;
// kNoProfileGap when their rows are apart or none shows a gap.
std::int16_t profile_gap(FigureGroup& p, FigureGroup& c, bool right_to_left) {
  FigureView a;
  FigureView b;
  if (a.init_from_element(right_to_left ? c : p) != kOk ||
      b.init_from_element(right_to_left ? p : c) != kOk) {
    return GapRecord::kNoProfileGap;
  }
  ProfilePairMetrics metrics;
  measure_profile_pair(a, b, metrics);
  if (metrics.common_rows_per_left_height < 0) return GapRecord::kNoProfileGap;
  return metrics.mean_gap;
}

void add_same_line_pair(FigureGroup& p, FigureGroup& c, const GapRecord& record,
                        SpacingSums& sums) {
  ++sums.pairs;
  if (record.x_gap >= 0) sums.x_gaps += record.x_gap;
  if (record.least_distance >= 0) sums.distances += record.least_distance;
  const std::int64_t advance = std::abs(element_reference_x(c) - element_reference_x(p)) -
                               raise_share(p, 200) - raise_share(c, 200);
  if (advance > 0) sums.advances += advance;
  if (record.profile_gap != GapRecord::kNoProfileGap) {
    sums.profile_gaps += record.profile_gap;
    ++sums.profiles;
  }
}

int measure_pair(RecognitionContext& context, FigureGroup& p, FigureGroup& c,
                 SpacingSums& sums) {
  GapRecord record;
  measure_nearest_figures(context, p, c, record);
  if (on_one_line(p, c)) {
    record.profile_gap = profile_gap(p, c, context.kernel().right_to_left());
    add_same_line_pair(p, c, record, sums);
  } else {
    record.x_gap = GapRecord::kOtherLine;
    record.least_distance = GapRecord::kOtherLine;
    record.profile_gap = GapRecord::kOtherLine;
  }
  return context.gaps().push_back(record);
}

// The mean rise of the elements that rise: box height times raise
// percentage / 100, over all elements.
std::int16_t raise_mean(const PtrArray<FigureGroup>& elements) {
  if (elements.empty()) return 0;
  std::int64_t sum = 0;
  for (FigureGroup* element : elements) sum += raise_share(*element, 100);
  return saturate_int16(sum / elements.size());
}

void set_statistics(const SpacingSums& sums, LineMetrics& settings) {
  const std::int64_t n = sums.pairs;
  const auto mean = [n](std::int64_t sum) { return n == 0 ? kDefaultMean : sum / n; };
  settings.word_gap = saturate_int16(mean(sums.x_gaps) * 120 / 100);
  settings.mean_advance = saturate_int16(mean(sums.advances));
  settings.letter_distance = saturate_int16(mean(sums.distances) * 120 / 100);
  settings.profile_gap =
      saturate_int16(sums.profiles == 0 ? 0 : sums.profile_gaps / sums.profiles);
}

}  // namespace

int estimate_spacing(RecognitionContext& context, const PtrArray<FigureGroup>& elements) {
  context.gaps().clear();
  if (has_missing_element(elements)) return kBadArgument;
  LineMetrics& settings = context.settings();
  settings.raise_mean = raise_mean(elements);
  SpacingSums sums;
  for (std::uint32_t i = 1; i < elements.size(); ++i) {
    if (measure_pair(context, *elements[i - 1], *elements[i], sums) != kOk) return kOutOfMemory;
  }
  set_statistics(sums, settings);
  return kOk;
}

}  // namespace inkrec
