// The skew search: line candidates, their line fits, extents and swings, the
// verdict of each trial and the choice among the trials.

#include "engine/kernel/skew_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

using Ink = std::span<const Stroke* const>;

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

struct Vec {
  std::int64_t x = 0;
  std::int64_t y = 0;
};

Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }

// (2 max + min + max) / 3, not saturated.
std::int64_t octagonal(Vec v) {
  const std::int64_t ax = std::llabs(v.x);
  const std::int64_t ay = std::llabs(v.y);
  return (2 * std::max(ax, ay) + ax + ay) / 3;
}

// sum += term, held at the 64-bit limits instead of overflowing.
void add_clamped(std::int64_t& sum, std::int64_t term) {
  if (term > 0 && sum > kInt64Max - term) {
    sum = kInt64Max;
  } else if (term < 0 && sum < kInt64Min - term) {
    sum = kInt64Min;
  } else {
    sum += term;
  }
}

std::int32_t clamp_int32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The ink turned by minus `angle` degrees, in thousandths of tablet units.
class View {
 public:
  explicit View(int angle) : cos_(int_sin(90 - angle)), sin_(int_sin(-angle)) {}
  Vec operator()(PackedPoint p) const { return {p.x * cos_ - p.y * sin_, p.y * cos_ + p.x * sin_}; }

 private:
  std::int64_t cos_;
  std::int64_t sin_;
};

// A stroke as a trial sees it, in tablet units: the centre of its points and
// its leftmost and rightmost points (the last of equal ones).
struct StrokeSummary {
  Vec centre;
  Vec left;
  Vec right;
};

// Summarises a stroke with points and widens the box [low, high] of the
// viewed points (thousandths) by them.
StrokeSummary summarize(const Stroke& stroke, const View& view, Vec& low, Vec& high) {
  Vec sum;
  Vec left = view(stroke[0]);
  Vec right = left;
  for (const PackedPoint p : stroke) {
    const Vec v = view(p);
    sum.x += v.x;
    sum.y += v.y;
    if (v.x <= left.x) left = v;
    if (v.x >= right.x) right = v;
    low = {std::min(low.x, v.x), std::min(low.y, v.y)};
    high = {std::max(high.x, v.x), std::max(high.y, v.y)};
  }
  const std::int64_t n = 1000 * std::int64_t{stroke.size()};
  return {{sum.x / n, sum.y / n}, {left.x / 1000, left.y / 1000}, {right.x / 1000, right.y / 1000}};
}

// A run of consecutive strokes of the ink: a line as a trial sees it.
struct LineCandidate {
  std::uint32_t first = 0;
  std::uint32_t count = 0;
};

// Whether the pen went back against the writing direction, by more than g,
// from the stroke before to the next: c joins their centres, j the end of
// the first to the start of the next.
bool went_back(Vec c, Vec j, std::int64_t g, bool mirrored_order) {
  if (mirrored_order) return c.x > g || (j.x > g && j.x + c.x > 0);
  return c.x < -g || (j.x < -g && j.x + c.x < 0);
}

// Cuts the ink into line candidates. A stroke closes its candidate when the
// candidate's strokes before it already span more than a fifth of the ink's
// width and the pen then went back by more than a fifth of its diagonal.
int find_line_candidates(Ink ink, const View& view, const SkewSearchOptions& options,
                         DynArray<LineCandidate>& out) {
  out.clear();
  const auto n = static_cast<std::uint32_t>(ink.size());
  if (options.one_line) return out.push_back({0, n - 1});

  DynArray<StrokeSummary> strokes;
  if (strokes.reserve_total(n) != kOk) return kOutOfMemory;
  Vec low{kInt64Max, kInt64Max};
  Vec high{kInt64Min, kInt64Min};
  for (const Stroke* stroke : ink) {
    if (strokes.push_back(summarize(*stroke, view, low, high)) != kOk) return kOutOfMemory;
  }
  const Vec size = high - low;
  const std::int64_t g = octagonal(size) / 5000;
  const std::int64_t w = size.x / 5000;

  LineCandidate current{0, 1};
  std::uint32_t run_left = 0;
  std::uint32_t run_right = 0;
  for (std::uint32_t i = 0; i + 1 < n; ++i) {
    if (i == current.first) run_left = run_right = i;
    const StrokeSummary& a = strokes[i];
    const StrokeSummary& b = strokes[i + 1];
    const std::int64_t extent = octagonal(strokes[run_left].left - strokes[run_right].right);
    if (extent > w && went_back(b.centre - a.centre, b.left - a.right, g, options.mirrored_order)) {
      if (out.push_back(current) != kOk) return kOutOfMemory;
      current = {i + 1, 1};
      continue;
    }
    if (i != current.first) {
      if (a.left.x < strokes[run_left].left.x) run_left = i;
      if (a.right.x > strokes[run_right].right.x) run_right = i;
    }
    ++current.count;
  }
  return out.push_back(current);
}

// What a trial measures of one line candidate.
struct CandidateMeasure {
  std::uint32_t stroke_count = 0;
  int angle = 0;              // of the fitted line, whole degrees
  std::int64_t spread = 100;  // scatter across the line against along it, percent
  std::int64_t along = 0;     // extent along the line, thousandths
  std::int64_t across = 0;    // extent across it
  std::int64_t path = 0;      // path length of the strokes, tablet units
  std::int64_t swings = 0;    // rises and falls of the pen across the line
};

// Calls visit (midpoint, length) for every segment between consecutive
// points, in the view.
template <typename Visit>
void for_each_segment(Ink strokes, const View& view, Visit visit) {
  for (const Stroke* stroke : strokes) {
    for (std::uint32_t i = 1; i < stroke->size(); ++i) {
      const Vec a = view((*stroke)[i - 1]);
      const Vec b = view((*stroke)[i]);
      visit(Vec{(a.x + b.x) / 2, (a.y + b.y) / 2}, octagonal(b - a));
    }
  }
}

// Fits a line through the segment midpoints weighted by segment length and
// sets the candidate's angle and spread. Without any length, or without
// spread along x (a vertical candidate), there is no line: angle 0 and
// spread 100.
void fit_line(Ink strokes, const View& view, int trial_angle, CandidateMeasure& m) {
  std::int64_t total = 0;
  Vec weighted;
  for_each_segment(strokes, view, [&](Vec mid, std::int64_t length) {
    total += length;
    weighted.x += mid.x / 1000 * length / 100;
    weighted.y += mid.y / 1000 * length / 100;
  });
  if (total <= 0) return;

  // Moments about the centroid (tenths of tablet units).
  const Vec centroid{weighted.x / (total / 1000 + 1), weighted.y / (total / 1000 + 1)};
  std::int64_t sxx = 0;
  std::int64_t sxy = 0;
  std::int64_t syy = 0;
  for_each_segment(strokes, view, [&](Vec mid, std::int64_t length) {
    const std::int64_t u = (mid.x / 100 - centroid.x) / 10;
    const std::int64_t v = (mid.y / 100 - centroid.y) / 10;
    const std::int64_t q = length / 100;
    add_clamped(sxx, q * u * u / 100);
    add_clamped(sxy, q * v * u / 100);
    add_clamped(syy, q * v * v / 100);
  });
  if (sxx == 0) return;

  const double slope = static_cast<double>(sxy) / static_cast<double>(sxx);
  const int a =
      direction_degrees(static_cast<int>(std::clamp(1000.0 * slope, -32768.0, 32767.0)), 1000);
  const std::int64_t n = total / 10000 + 1;
  constexpr double kResidualLimit = static_cast<double>(kInt64Max / 10000);
  const auto residual = static_cast<std::int64_t>(
      std::clamp(std::trunc(static_cast<double>(syy / n) - static_cast<double>(sxy) * slope / n),
                 -kResidualLimit, kResidualLimit));
  const std::int64_t p = int_sqrt(clamp_int32(10000 * residual / (sxx / n + 1)));
  const std::int64_t f = int_sin(a + 90) / 10;
  m.angle = a + trial_angle;
  m.spread = f * f * p / 10000;
}

// Sets the extents of the candidate's points along and across its line and
// the path length of its strokes.
void measure_extent(Ink strokes, CandidateMeasure& m) {
  const View view(m.angle);
  Vec low{kInt64Max, kInt64Max};
  Vec high{kInt64Min, kInt64Min};
  for (const Stroke* stroke : strokes) {
    for (std::uint32_t i = 0; i < stroke->size(); ++i) {
      const PackedPoint p = (*stroke)[i];
      const Vec v = view(p);
      low = {std::min(low.x, v.x), std::min(low.y, v.y)};
      high = {std::max(high.x, v.x), std::max(high.y, v.y)};
      if (i == 0) continue;
      const std::int64_t dx = p.x - (*stroke)[i - 1].x;
      const std::int64_t dy = p.y - (*stroke)[i - 1].y;
      m.path += int_sqrt(clamp_int32(dx * dx + dy * dy));
    }
  }
  if (strokes.empty()) return;
  m.along = high.x - low.x;
  m.across = high.y - low.y;
}

// The rises and falls of the pen across the line at `angle`, each by more
// than h; the swing under way at the end of a stroke counts once more.
std::int64_t count_swings(Ink strokes, int angle, std::int64_t h) {
  enum class Swing { kNone, kRising, kFalling };
  const View view(angle);
  std::int64_t swings = 0;
  for (const Stroke* stroke : strokes) {
    Swing state = Swing::kNone;
    std::int64_t low = 1073741823;
    std::int64_t high = -1073741824;
    for (const PackedPoint p : *stroke) {
      const std::int64_t y = view(p).y;
      low = std::min(low, y);
      high = std::max(high, y);
      const bool falls = state != Swing::kFalling && high - y > h;
      const bool rises = state != Swing::kRising && !falls && y - low > h;
      if (falls) {
        low = y;
        state = Swing::kFalling;
      } else if (rises) {
        high = y;
        state = Swing::kRising;
      }
      swings += falls || rises;
    }
    swings += state != Swing::kNone;
  }
  return swings;
}

// Whether a candidate looks like a written line: flat and long, with enough
// swings, not much thinner than the thickest line and not much shorter
// than the longest.
bool is_written_line(const CandidateMeasure& m, std::int64_t max_across, std::int64_t max_path,
                     bool single_stroke_lines) {
  if (std::abs(m.angle) >= 90 || (m.stroke_count < 2 && !single_stroke_lines)) return false;
  if (4 * m.across <= max_across || 2 * m.path <= max_path) return false;
  const bool flat = m.along > 2 * m.across && m.spread < 100 && m.swings >= 9;
  const bool very_regular = m.along > 15 * m.across / 10 && m.spread < 50 && m.swings >= 16;
  return flat || very_regular;
}

// A line's weight in the trial's angle: its path, less when it scatters.
std::int64_t line_weight(const CandidateMeasure& m) {
  if (m.spread > 60) return m.path / 3;
  if (m.spread > 40) return m.path / 2;
  return m.path;
}

struct Trial {
  int trial_angle = 0;
  bool valid = false;
  int angle = 0;            // the measured slope
  std::int64_t spread = 0;  // the mean spread of the lines, weighted by path

  int deviation() const { return std::abs(angle - trial_angle); }
};

// Work lists kept from one trial to the next.
struct TrialLists {
  DynArray<LineCandidate> candidates;
  DynArray<CandidateMeasure> measures;
};

// Measures the ink turned by minus trial->trial_angle.
int measure_trial(Ink ink, const SkewSearchOptions& options, TrialLists& lists, Trial* trial) {
  const View view(trial->trial_angle);
  if (const int status = find_line_candidates(ink, view, options, lists.candidates);
      status != kOk) {
    return status;
  }
  lists.measures.clear();
  if (lists.measures.reserve_total(lists.candidates.size()) != kOk) return kOutOfMemory;
  std::int64_t max_across = 0;
  std::int64_t max_path = 0;
  for (const LineCandidate& candidate : lists.candidates) {
    const Ink strokes = ink.subspan(candidate.first, candidate.count);
    CandidateMeasure m;
    m.stroke_count = candidate.count;
    fit_line(strokes, view, trial->trial_angle, m);
    measure_extent(strokes, m);
    max_across = std::max(max_across, m.across);
    max_path = std::max(max_path, m.path);
    if (lists.measures.push_back(m) != kOk) return kOutOfMemory;
  }

  std::int64_t spread_sum = 0;
  std::int64_t path_sum = 0;
  std::int64_t angle_sum = 0;
  std::int64_t weight_sum = 0;
  std::int64_t most_swings = 0;
  std::uint32_t few_swings = 0;
  for (std::uint32_t i = 0; i < lists.measures.size(); ++i) {
    CandidateMeasure& m = lists.measures[i];
    const LineCandidate& candidate = lists.candidates[i];
    m.swings =
        count_swings(ink.subspan(candidate.first, candidate.count), m.angle, max_across / 10);
    spread_sum += m.spread * m.path;
    path_sum += m.path;
    most_swings = std::max(most_swings, m.swings);
    few_swings += m.swings < 10;
    if (!is_written_line(m, max_across, max_path, options.single_stroke_lines)) continue;
    const std::int64_t weight = line_weight(m);
    angle_sum += weight * m.angle;
    weight_sum += weight;
  }
  trial->angle = weight_sum > 0 ? static_cast<int>(angle_sum / weight_sum) : 0;
  trial->spread = path_sum > 0 ? spread_sum / path_sum : 0;
  const bool scribble = most_swings <= 20 && few_swings > lists.measures.size() / 3;
  trial->valid = weight_sum > 0 && std::abs(trial->angle) <= 70 && trial->spread <= 70 && !scribble;
  return kOk;
}

}  // namespace

int estimate_skew(const StrokeList& strokes, const SkewSearchOptions& options,
                  SkewEstimate* estimate) {
  if (estimate == nullptr) return kBadArgument;
  *estimate = {};
  DynArray<const Stroke*> ink;
  for (const Stroke* stroke : strokes) {
    if (stroke == nullptr) return kBadArgument;
    if (!stroke->empty() && ink.push_back(stroke) != kOk) return kOutOfMemory;
  }
  if (ink.empty()) return kOk;

  TrialLists lists;
  std::optional<Trial> best;
  auto settle = [estimate](int angle) {
    estimate->found = true;
    estimate->angle = angle;
    return kOk;
  };
  for (const int trial_angle : kSkewTrialAngles) {
    // A good best far from this trial's angle makes the trial pointless.
    if (best && best->deviation() <= 10 && std::abs(best->angle - trial_angle) >= 21 &&
        best->spread < 45) {
      continue;
    }
    estimate->trials[static_cast<std::size_t>(estimate->trial_count++)] = trial_angle;
    Trial trial{trial_angle};
    if (const int status = measure_trial(ink.span(), options, lists, &trial); status != kOk) {
      return status;
    }

    const int deviation = trial.deviation();
    bool settled = false;
    if (trial.valid && deviation < 20) {
      if (!best || deviation < best->deviation()) {
        if (!best || trial.spread < 40 || trial.spread < 12 * best->spread / 10) {
          best = trial;
          settled = deviation <= 5 && trial.spread < 40;
        }
      } else if (trial.spread < 40 && trial.spread < 8 * best->spread / 10) {
        best = trial;
      }
    } else if (trial.valid && deviation < 30 && trial.spread < 40) {
      if (!best || trial.spread < 8 * best->spread / 10) best = trial;
    }
    if (settled) return settle(best->angle);
    if (trial.valid && deviation < 40 && trial.spread < 30) return settle(trial.angle);
  }
  return best ? settle(best->angle) : kOk;
}

}  // namespace inkrec
