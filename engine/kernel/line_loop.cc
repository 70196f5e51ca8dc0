// The line loop of the recognition driver: the letter search of every text
// line, run in two sweeps. Sweep 0 gives each line its candidates, runs the
// whole letter search and measures the gaps between neighbouring fragments;
// sweep 1 runs the later passes again with the gap statistics of sweep 0 in
// place, and measures again. Ink with fewer than two fragments, or whose
// fragments touch, is searched once.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/kernel/kernel.h"

namespace inkrec {
namespace {

constexpr std::int32_t kUnmeasured = 32767;

// The measures of one sweep: the mean row gaps (M), the least gaps (G) and
// the centroid distances along the slant (D) of neighbouring fragments.
struct GapLists {
  DynArray<std::int32_t> mean_gaps;
  DynArray<std::int32_t> least_gaps;
  DynArray<std::int32_t> distances;
};

// The mean of the values kept by a robust estimate, and their spread.
struct RobustMean {
  std::int32_t mean = 0;
  std::int32_t spread = 0;
  std::uint32_t kept = 0;
};

// The mean of the values, and the square root of their summed squared
// deviations divided by `divisor`. The sums are wide enough for any list;
// a spread past 32 bits is taken as the largest.
RobustMean plain_mean(std::span<const std::int32_t> values, std::uint64_t divisor) {
  std::int64_t sum = 0;
  for (const std::int32_t v : values) sum += v;
  const std::int64_t mean = sum / static_cast<std::int64_t>(values.size());
  std::uint64_t squares = 0;
  for (const std::int32_t v : values) {
    const auto deviation = static_cast<std::uint64_t>(std::llabs(v - mean));
    squares = std::min(squares, UINT64_MAX - deviation * deviation) + deviation * deviation;
  }
  const std::uint64_t variance = std::min<std::uint64_t>(squares / divisor, INT32_MAX);
  return {static_cast<std::int32_t>(mean), int_sqrt(static_cast<std::int32_t>(variance)),
          static_cast<std::uint32_t>(values.size())};
}

// Sets aside the values whose distance from the plain mean is not below the
// plain spread (whose divisor is given), then measures the rest: their mean
// and spread, with kept = 0 (and the plain figures) when none is left.
RobustMean robust_mean(std::span<const std::int32_t> values, std::uint64_t divisor) {
  const RobustMean plain = plain_mean(values, divisor);
  DynArray<std::int32_t> kept;
  for (const std::int32_t v : values) {
    if (std::llabs(std::int64_t{v} - plain.mean) < plain.spread && kept.push_back(v) != kOk) {
      return {plain.mean, plain.spread, 0};
    }
  }
  if (kept.empty()) return {plain.mean, plain.spread, 0};
  return plain_mean(kept.span(), kept.size());
}

// The horizontal distance between two centroids measured along a slant of
// `slant` degrees (90 upright).
std::int32_t distance_along_slant(PackedPoint from, PackedPoint to, int slant) {
  return (to.x - from.x) + ((to.y - from.y) * scale_by_tangent(slant - 90, 100)) / 100;
}

// The letter search of one line in one sweep: its fragments go to the
// output list and their gaps to the lists; *fragments counts them.
int sweep_line(Kernel& kernel, std::uint32_t line, bool first_sweep, GapLists& lists,
               std::uint32_t* fragments) {
  LetterSearch& search = kernel.letter_search();
  std::unique_ptr<LineFragments> state;
  int status = search.begin_line(line, &state);
  if (status != kOk) return status;
  if (state == nullptr) return kBadArgument;
  if (first_sweep) {
    for (std::uint32_t i = 0; i < search.figure_count(); ++i) {
      if (search.figure_line(i) != line) continue;
      if ((status = state->add_candidate(i)) != kOk) return status;
    }
  }
  if (kernel.stop_flag()) return kStopped;
  if ((status = state->run_passes(first_sweep)) != kOk) return status;
  if (kernel.stop_flag()) return kStopped;
  if ((status = state->move_to_output()) != kOk) return status;
  // A value that cannot be kept is left out of the statistics.
  for (std::uint32_t k = 0; k + 1 < state->count(); ++k) {
    const FragmentGap gap = state->measure_gap(k);
    if (gap.mean != kUnmeasured) lists.mean_gaps.push_back(gap.mean);
    if (gap.least < kUnmeasured) lists.least_gaps.push_back(gap.least);
    const int slant = search.line_slant_angle();
    if (slant >= 1 && slant <= 179 && slant != 90) {
      lists.distances.push_back(
          distance_along_slant(state->centroid(k), state->centroid(k + 1), slant));
    }
  }
  *fragments += state->count();
  return kOk;
}

// Takes the statistics of a sweep from the lists of more than three values;
// false when the fragments touch or overlap (a robust mean gap below 1),
// which ends the loop.
bool settle_gap_statistics(const GapLists& lists, std::array<std::int32_t, 6>& statistics,
                           LetterSearch& search) {
  const auto enough = [](const DynArray<std::int32_t>& values) { return values.size() > 3; };
  if (enough(lists.distances)) {
    const RobustMean d = robust_mean(lists.distances.span(), lists.distances.size());
    if (d.kept > 0) {
      statistics[4] = d.mean;
      statistics[5] = d.spread;
    }
  }
  if (enough(lists.mean_gaps)) {
    const RobustMean m = robust_mean(lists.mean_gaps.span(), lists.mean_gaps.size() - 1);
    if (m.mean < 1) return false;
    statistics[0] = m.mean;
    statistics[1] = m.spread;
    search.set_mean_gap(m.mean);
  }
  if (enough(lists.least_gaps)) {
    const RobustMean g = robust_mean(lists.least_gaps.span(), lists.least_gaps.size() - 1);
    if (g.mean < 1) return false;
    statistics[2] = g.mean;
    statistics[3] = g.spread;
  }
  return true;
}

}  // namespace

int Kernel::line_loop() {
  for (int sweep = 0; sweep < 2; ++sweep) {
    const bool first_sweep = sweep == 0;
    search_->release_line_objects();
    search_->clear_output();
    GapLists lists;
    std::uint32_t fragments = 0;
    const std::uint32_t lines = search_->text_line_count();
    if (lines == 0) return kOk;
    for (std::uint32_t line = 0; line < lines; ++line) {
      if (first_sweep) gap_statistics_.fill(-1);
      const int status = sweep_line(*this, line, first_sweep, lists, &fragments);
      if (status != kOk) return status;
    }
    if (!settle_gap_statistics(lists, gap_statistics_, *search_)) return kOk;
    if (fragments < 2) return kOk;
    if (first_sweep && debug_mode_ == 2) {
      if (const int status = search_->empty_line_part_groups(); status != kOk) return status;
    }
  }
  return kOk;
}

}  // namespace inkrec
