// The typical letter height of a line and the line statistics.

#include "engine/records/line_extrema.h"

#include <algorithm>
#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/extremum_sequence.h"
#include "engine/records/figure_records.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {
namespace {

// A stroke's extremum sequence, its whole stroke taken as the figure; left
// unfilled for a stroke without points.
int stroke_sequence(const StrokeRecord* stroke, int threshold, ExtremumSequence& out) {
  if (stroke == nullptr) return kBadArgument;
  if (stroke->run.empty()) return kOk;
  ExtremumList list;
  if (const int status =
          find_vertical_extrema(list, stroke->run.points, stroke->run.count, threshold);
      status != kOk) {
    return status;
  }
  out = ExtremumSequence(stroke->run, 0, &list);
  return out.status;
}

// Shape classes at least this sure make a stroke's heights confident.
// Never met while shape confidence tops out at 8200: change neither alone.
constexpr int kConfidentShape = 8400;

// The heights of one stroke and how they count.
struct StrokeHeights {
  DynArray<std::int32_t> heights;
  bool confident = false;
  // Strokes of a known shape count in the passes only when upright enough.
  bool counts_in_passes = true;
};

// The classes of heights against a reference X.
class HeightClasses {
 public:
  explicit HeightClasses(std::int64_t reference) : x_(reference) {}

  void add(std::int64_t d) {
    ++count_;
    if (d < x_ / 5) {
      small_.add(d);
    } else if (x_ / 5 < d && d < x_ && d > 10) {
      middle_.add(d);
    } else if (x_ < d && d < 5 * x_ / 2) {
      upper_.add(d);
    } else if (d > 5 * x_ / 2) {
      large_.add(d);
    }
  }

  std::int64_t middle_mean(std::int64_t empty) const { return middle_.mean(empty); }
  std::int64_t upper_mean(std::int64_t empty) const { return upper_.mean(empty); }

  struct Class {
    void add(std::int64_t d) {
      ++count;
      sum += d;
      largest = std::max(largest, d);
    }
    std::int64_t mean(std::int64_t empty) const { return count == 0 ? empty : sum / count; }

    std::int64_t count = 0;
    std::int64_t sum = 0;
    std::int64_t largest = 0;
  };

  std::int64_t count() const { return count_; }
  const Class& small() const { return small_; }
  const Class& middle() const { return middle_; }
  const Class& upper() const { return upper_; }
  const Class& large() const { return large_; }

 private:
  std::int64_t x_;
  std::int64_t count_ = 0;
  Class small_;
  Class middle_;
  Class upper_;
  Class large_;
};

// The mean of the positive heights of the strokes `which` selects.
template <typename Which>
std::int64_t mean_height(const DynArray<StrokeHeights>& strokes, Which which) {
  std::int64_t sum = 0;
  std::int64_t count = 0;
  for (const StrokeHeights& s : strokes) {
    if (!which(s)) continue;
    for (const std::int32_t d : s.heights) {
      if (d <= 0) continue;
      sum += d;
      ++count;
    }
  }
  return count == 0 ? 0 : sum / count;
}

// The estimates of the letter height from all heights, from those of
// confident strokes and from the others.
struct Estimate {
  std::int64_t all = 0;
  std::int64_t confident = 0;
  std::int64_t plain = 0;
};

// Up to three passes sorting the heights against the estimates, each
// taking the mean of the middle and upper means as the next estimate,
// until the estimate stays; the first pass blends in the confident
// estimate when there is one (and writes the confident share). Returns the
// classes of the last pass.
HeightClasses refine_estimate(const DynArray<StrokeHeights>& strokes, Estimate& estimate,
                              std::int16_t& confident_share) {
  HeightClasses classes(estimate.all);
  for (int pass = 0; pass < 3; ++pass) {
    classes = HeightClasses(estimate.all);
    HeightClasses confident(estimate.confident);
    HeightClasses plain(estimate.plain);
    for (const StrokeHeights& s : strokes) {
      if (!s.counts_in_passes) continue;
      for (const std::int32_t d : s.heights) {
        if (d <= 0) continue;
        classes.add(d);
        (s.confident ? confident : plain).add(d);
      }
    }
    const std::int64_t q =
        (confident.upper_mean(estimate.confident) + confident.middle_mean(estimate.confident)) / 2;
    const std::int64_t p =
        (plain.upper_mean(estimate.plain) + plain.middle_mean(estimate.plain)) / 2;
    std::int64_t e = (classes.upper_mean(estimate.all) + classes.middle_mean(estimate.all)) / 2;
    const std::int64_t together = confident.count() + plain.count();
    if (pass == 0 && q != 0 && p != 0 && together > 4) {
      const std::int64_t c_share = 100 * confident.count() / together;
      const std::int64_t p_share = 100 * plain.count() / together;
      const std::int64_t r = 100 * e / p;
      if (c_share < 41 || r >= 60) {
        e = (r * c_share * q / 100 + p_share * p) / 100;
      } else if (e > (q + p) / 2) {
        e = ((100 * e / q) * p_share * p / 100 + c_share * q) / 100;
      }
      confident_share = saturate_int16(c_share);
    }
    const bool settled = e == estimate.all;
    estimate = {e, q, p};
    if (settled) break;
  }
  return classes;
}

// The height of small letters from the classes of the last pass against
// the final estimate e; g is the greatest height of any stroke.
std::int64_t small_height(const HeightClasses& classes, std::int64_t e, std::int64_t g) {
  const std::int64_t mu = classes.upper_mean(e);
  const std::int64_t mm = classes.middle_mean(e);
  if (classes.middle().count == 0) {
    const HeightClasses::Class& small = classes.small();
    if (small.count == 0 || small.largest < 34 || classes.count() < 5) return e;
    if (mu != 0 && 100 * small.largest / mu < 300) return 3 * e / 5;
    return mu;
  }
  const std::int64_t r = (e - mm) * 100 / mm;
  if (r < 15) {
    return ClampedRamp(0, saturate_int16(mu), true, 15, saturate_int16(e), true)
        .value_at(static_cast<std::int32_t>(r));
  }
  if (classes.count() < 5 || classes.middle().largest < 33) return g;
  return 130 * mm / 100;
}

std::int16_t at_least(std::int64_t v, std::int64_t floor) {
  return saturate_int16(std::max(v, floor));
}

}  // namespace

int line_typical_height(std::span<StrokeRecord* const> strokes, int threshold, LetterHeights& out) {
  std::int64_t greatest = 0;
  std::int64_t sum = 0;
  std::int64_t k = 0;
  for (const StrokeRecord* stroke : strokes) {
    ExtremumSequence sequence;
    if (const int status = stroke_sequence(stroke, threshold, sequence); status != kOk) {
      return status;
    }
    greatest = std::max<std::int64_t>(greatest, sequence.max_height);
    if (sequence.mean_height > 0) {
      sum += sequence.mean_height;
      ++k;
    }
  }
  const std::int64_t mean = k == 0 ? 2 * greatest / 3 : sum / k;
  const bool few_tall = (2 * greatest > 7 * mean && k < 10) || (k < 4 && greatest > 2 * mean);
  out.greatest = saturate_int16(greatest);
  out.typical = saturate_int16(few_tall ? 2 * greatest / 3 : mean);
  return kOk;
}

int analyse_line_extrema(LineExtremaStatistics& line, int threshold,
                         std::span<StrokeRecord* const> strokes, bool use_greatest) {
  // 1. The heights of every stroke.
  DynArray<StrokeHeights> all;
  std::int64_t greatest = 0;
  std::int64_t positive = 0;
  for (const StrokeRecord* stroke : strokes) {
    ExtremumSequence sequence;
    if (const int status = stroke_sequence(stroke, threshold, sequence); status != kOk) {
      return status;
    }
    StrokeHeights* heights = all.push_default();
    if (heights == nullptr) return kOutOfMemory;
    if (sequence.status == kOk) {
      if (const int status = extrema_profile(sequence, heights->heights); status != kOk) {
        return status;
      }
    }
    const DirectionStatistics& shape = stroke->geometry.direction;
    heights->confident = shape.shape_class >= 0 && shape.shape_confidence >= kConfidentShape;
    heights->counts_in_passes =
        shape.shape_class < 0 || (shape.overall_direction >= 46 && shape.overall_direction <= 134);
    greatest = std::max<std::int64_t>(greatest, sequence.max_height);
    for (const std::int32_t d : heights->heights) positive += d > 0 ? 1 : 0;
  }

  // 2. Too few heights to sort.
  line.confident_share = -1;
  line.few_heights = positive < 2 ? 1 : 0;
  const std::int64_t overall = mean_height(all, [](const StrokeHeights&) { return true; });
  if (positive == 0) {
    line.small_height = line.default_small_height;
    line.large_height = line.default_large_height;
    return kOk;
  }
  if (positive == 1) {
    line.small_height = at_least(overall, 33);
    line.large_height = at_least(overall, std::int64_t{line.small_height} * 160 / 100);
    return kOk;
  }

  // 3. The passes; 4. the small height.
  Estimate estimate{overall, mean_height(all, [](const StrokeHeights& s) { return s.confident; }),
                    mean_height(all, [](const StrokeHeights& s) { return !s.confident; })};
  const HeightClasses classes = refine_estimate(all, estimate, line.confident_share);
  const std::int64_t e = estimate.all;
  const std::int64_t mu = classes.upper_mean(e);
  const std::int64_t mm = classes.middle_mean(e);
  const std::int64_t small = use_greatest ? greatest : small_height(classes, e, greatest);

  // 5. The large height.
  const std::int64_t large = classes.upper().count == 0 ? 5 * e / 2 : mu;
  line.small_height = at_least(small, 33);
  line.large_height = at_least(large, std::int64_t{line.small_height} * 160 / 100);

  // 6. What the last pass found.
  line.estimate = saturate_int16(e);
  line.small_count = saturate_int16(classes.small().count);
  line.middle_count = saturate_int16(classes.middle().count);
  line.upper_count = saturate_int16(classes.upper().count);
  line.large_count = saturate_int16(classes.large().count);
  line.middle_mean = saturate_int16(mm);
  line.upper_mean = saturate_int16(mu);
  return kOk;
}

}  // namespace inkrec
