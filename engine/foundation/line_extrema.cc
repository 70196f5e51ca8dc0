// The typical letter height of a line and the line statistics.

#include "engine/foundation/line_extrema.h"

#include <algorithm>
#include <cstdint>

#include "engine/analysis/extremum_sequence.h"
#include "engine/analysis/vertical_extrema.h"
#include "engine/foundation/clamped_ramp.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/figure_records.h"
#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

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

// Shape classes at least this sure count a stroke's heights as confident.
// The shape analysis never rates a class above 8200, so no stroke is
// confident and the blending of the first pass never runs; both numbers
// stand as they are, and neither is to be changed without the other.
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
      ++small_.count;
      small_.largest = std::max(small_.largest, d);
    } else if (x_ / 5 < d && d < x_ && d > 10) {
      middle_.add(d);
    } else if (x_ < d && d < 5 * x_ / 2) {
      upper_.add(d);
    } else if (d > 5 * x_ / 2) {
      ++large_count_;
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
  std::int64_t large_count() const { return large_count_; }

 private:
  std::int64_t x_;
  std::int64_t count_ = 0;
  Class small_;
  Class middle_;
  Class upper_;
  std::int64_t large_count_ = 0;
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
  if (positive == 0) {
    line.small_height = line.default_small_height;
    line.large_height = line.default_large_height;
    return kOk;
  }
  if (positive == 1) {
    const std::int64_t d = mean_height(all, [](const StrokeHeights&) { return true; });
    line.small_height = at_least(d, 33);
    line.large_height = at_least(d, std::int64_t{line.small_height} * 160 / 100);
    return kOk;
  }

  // 3. The passes.
  std::int64_t e = mean_height(all, [](const StrokeHeights&) { return true; });
  std::int64_t plain = mean_height(all, [](const StrokeHeights& s) { return !s.confident; });
  std::int64_t confident = mean_height(all, [](const StrokeHeights& s) { return s.confident; });
  HeightClasses classes(e);
  for (int pass = 0; pass < 3; ++pass) {
    classes = HeightClasses(e);
    HeightClasses confident_classes(confident);
    HeightClasses plain_classes(plain);
    for (const StrokeHeights& s : all) {
      if (!s.counts_in_passes) continue;
      for (const std::int32_t d : s.heights) {
        if (d <= 0) continue;
        classes.add(d);
        (s.confident ? confident_classes : plain_classes).add(d);
      }
    }
    const std::int64_t q2 =
        (confident_classes.upper_mean(confident) + confident_classes.middle_mean(confident)) / 2;
    const std::int64_t p2 =
        (plain_classes.upper_mean(plain) + plain_classes.middle_mean(plain)) / 2;
    std::int64_t e2 = (classes.upper_mean(e) + classes.middle_mean(e)) / 2;
    const std::int64_t together = confident_classes.count() + plain_classes.count();
    if (pass == 0 && q2 != 0 && p2 != 0 && together > 4) {
      const std::int64_t c = 100 * confident_classes.count() / together;
      const std::int64_t p = 100 * plain_classes.count() / together;
      const std::int64_t r = 100 * e2 / p2;
      if (c < 41 || r >= 60) {
        e2 = (r * c * q2 / 100 + p * p2) / 100;
      } else if (e2 > (q2 + p2) / 2) {
        e2 = ((100 * e2 / q2) * p * p2 / 100 + c * q2) / 100;
      }
      line.confident_share = saturate_int16(c);
    }
    const bool settled = e2 == e;
    e = e2;
    confident = q2;
    plain = p2;
    if (settled) break;
  }

  // 4. The small height.
  const std::int64_t mu = classes.upper_mean(e);
  const std::int64_t mm = classes.middle_mean(e);
  std::int64_t small;
  if (classes.middle().count == 0) {
    const HeightClasses::Class& small_class = classes.small();
    if (small_class.count == 0 || small_class.largest < 34 || classes.count() < 5) {
      small = e;
    } else if (mu != 0 && 100 * small_class.largest / mu < 300) {
      small = 3 * e / 5;
    } else {
      small = mu;
    }
  } else {
    const std::int64_t r = (e - mm) * 100 / mm;
    if (r < 15) {
      small = ClampedRamp(0, saturate_int16(mu), true, 15, saturate_int16(e), true)
                  .value_at(static_cast<std::int32_t>(r));
    } else if (classes.count() < 5 || classes.middle().largest < 33) {
      small = greatest;
    } else {
      small = 130 * mm / 100;
    }
  }

  // 5. The large height.
  std::int64_t large = classes.upper().count == 0 ? 5 * e / 2 : mu;
  if (use_greatest) small = greatest;
  line.small_height = at_least(small, 33);
  line.large_height = at_least(large, std::int64_t{line.small_height} * 160 / 100);

  // 6. What the last pass found.
  line.estimate = saturate_int16(e);
  line.small_count = saturate_int16(classes.small().count);
  line.middle_count = saturate_int16(classes.middle().count);
  line.upper_count = saturate_int16(classes.upper().count);
  line.large_count = saturate_int16(classes.large_count());
  line.middle_mean = saturate_int16(mm);
  line.upper_mean = saturate_int16(mu);
  return kOk;
}

}  // namespace inkrec
