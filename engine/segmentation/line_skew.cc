#include "engine/segmentation/line_skew.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"
#include "engine/segmentation/line_grouping.h"
#include "engine/segmentation/line_statistics.h"

namespace inkrec {
namespace {

int fold_180(int a) { return a > 180 ? a - 360 : a; }

int fold_difference(int d) {
  while (d > 180) d -= 360;
  while (d < -180) d += 360;
  return d;
}

// The agreement of the step directions with one reference angle.
struct Agreement {
  std::int64_t sum = 0;
  std::int64_t count = 0;
  std::int64_t score = 0;
  void add(int d) {
    if (std::abs(d) >= 27) return;
    sum += d;
    ++count;
    score += std::abs(d) < 9 ? 3 : std::abs(d) < 18 ? 2 : 1;
  }
  std::int64_t mean() const { return count == 0 ? 0 : sum / count; }
};

}  // namespace

void measure_direction_agreement(std::span<const PackedPoint> points, int* angle, int* weight,
                                 int r1, int r2, int r3) {
  const auto n = static_cast<std::int64_t>(points.size());
  if (n < 2) return;
  const std::int64_t step = n > 20 ? n / 20 : 1;
  const int references[3] = {r1, r2, r3};
  Agreement agreement[3];
  for (std::int64_t i = 0; i < n; i += step) {
    const std::int64_t from = i < 4 * step ? 0 : i - 4 * step;
    const std::int64_t to = std::min(i + 4 * step, n - 1);
    for (std::int64_t j = from; j <= to; j += step) {
      const PackedPoint p = points[static_cast<std::size_t>(i)];
      const PackedPoint q = points[static_cast<std::size_t>(j)];
      if (p.x == q.x) continue;
      const PackedPoint left = p.x < q.x ? p : q;
      const PackedPoint right = p.x < q.x ? q : p;
      const int a = fold_180(direction_degrees(right.y - left.y, right.x - left.x));
      for (int k = 0; k < 3; ++k) agreement[k].add(fold_difference(a - references[k]));
    }
  }
  std::int64_t mean_sum = 0;
  for (int k = 0; k < 3; ++k) {
    mean_sum += agreement[k].mean() + references[k];
    *weight = static_cast<int>(std::max<std::int64_t>(*weight, n * agreement[k].score));
  }
  *angle = static_cast<int>(mean_sum / 3);
}

int rotate_line_points(RecognitionContext& context, int degrees) {
  LineWork& work = context.work();
  work.line_rotation += degrees;
  for (std::uint32_t s = 0; s < work.point_runs.size(); ++s) {
    DynArray<PointRecord>* run = work.point_runs[s];
    const DynArray<PackedPoint>* unturned = work.unturned_points.item_checked(s);
    if (run == nullptr || unturned == nullptr || unturned->size() != run->size()) {
      return kBadArgument;
    }
    for (std::uint32_t k = 0; k < run->size(); ++k) {
      (*run)[k].point = turn_point((*unturned)[k], work.line_rotation);
    }
  }
  return kOk;
}

namespace {

// The angle of a fit: the direction of (1000, 1000 slope), -179..180.
int fit_angle(LineFit& fit) {
  const std::int16_t rise = saturate_double_int16(fit.slope() * 1000);
  return fold_180(direction_degrees(rise, 1000));
}

// The skew measured over the lines: the weighted sum of their angles and
// the votes and weights behind it.
struct SkewVote {
  double sum = 0;
  std::int64_t votes = 0;
  std::int64_t total_length = 0;
};

// The skew of one line and its weight in the vote.
class LineSkew {
 public:
  LineSkew(RecognitionContext& context, TextLine& line, int iteration)
      : context_(context), line_(line), iteration_(iteration) {}

  int measure(SkewVote& vote) {
    line_.words[0] = 0;
    line_.words[1] = 0;
    int angles[3];
    for (int k = 0; k < 3; ++k) angles[k] = fit_angle(line_.fits[k]);
    const Box16 middle = line_.fits[1].bounding_box();
    const int length = octagonal_length(middle.width(), middle.height());
    vote.total_length += length;
    if (const int status = collect_extrema(); status != kOk) return status;
    int low_angle = 0;
    int high_angle = 0;
    int low_weight = 1;
    int high_weight = 1;
    measure_direction_agreement(minima_.span(), &low_angle, &low_weight, angles[0], angles[1],
                                angles[2]);
    measure_direction_agreement(maxima_.span(), &high_angle, &high_weight, angles[0], angles[1],
                                angles[2]);
    low_weight = 1;
    high_weight = 1;
    measure_direction_agreement(minima_.span(), &low_angle, &low_weight, low_angle, low_angle,
                                low_angle);
    measure_direction_agreement(maxima_.span(), &high_angle, &high_weight, high_angle, high_angle,
                                high_angle);
    const int alpha = (high_angle * high_weight + low_angle * low_weight) / (high_weight + low_weight);
    const Box16 top = line_.fits[0].bounding_box();
    const int x = (top.left + top.right) / 2;
    const int h0 = line_.fits[2].y_at(x) - line_.fits[0].y_at(x);
    const int h = ((h0 / 10) * (int_sin(alpha + 90) / 10)) / 10;
    if (2 * length < 3 * h) return kOk;
    add_vote(vote, alpha, h, length);
    return kOk;
  }

 private:
  int collect_extrema() {
    const int threshold = context_.letter_height() / 3;
    for (const std::uint16_t s : line_.strokes) {
      const StrokeRecord* stroke = context_.strokes().item_checked(s);
      if (stroke == nullptr) return kBadArgument;
      ExtremumList list;
      if (const int status = find_vertical_extrema(list, stroke->run.points, stroke->run.count,
                                                   threshold);
          status != kOk) {
        return status;
      }
      int minima = 0;
      int maxima = 0;
      merge_stroke_extrema(list.entries.span(), &minima, &maxima);
      extremum_count_ += minima + maxima;
      for (const Extremum& e : list.entries) {
        if ((e.is_maximum() ? maxima_ : minima_).push_back(e.point) != kOk) return kOutOfMemory;
      }
    }
    return kOk;
  }

  void add_vote(SkewVote& vote, int alpha, int h, int length) {
    const LineMetrics& settings = context_.settings();
    const int letter = settings.letter_height;
    const int upper = settings.upper_height;
    int weight = letter >= h / 2 || upper >= h ? length : 0;
    const int slant = settings.slant_angle;
    if ((slant - alpha < 70 || slant - alpha > 110) && letter < 2 * h / 3) weight = 0;
    if (slant >= 76 && slant <= 104 && line_.box.width() < line_.box.height() * 10 / 8) weight = 0;
    const int turned = slant - context_.work().line_rotation;
    if ((extremum_count_ > 10 && (turned < 71 || turned > 109) &&
         (upper + letter + h) / 3 < line_.box.width() / 4 && letter > h / 2) ||
        iteration_ > 0) {
      ++vote.votes;
    }
    if (extremum_count_ > 15) {
      vote.sum += static_cast<double>(alpha) * weight;
      vote.votes += weight;
    }
  }

  RecognitionContext& context_;
  TextLine& line_;
  int iteration_;
  int extremum_count_ = 0;
  DynArray<PackedPoint> minima_;
  DynArray<PackedPoint> maxima_;
};

enum class Verdict { kAccepted, kRejected, kAgain };

// One iteration of the skew loop over the lines as they stand.
int judge(RecognitionContext& context, int iteration, double* previous, Verdict* verdict) {
  if (const int status = line_mean_metric(context); status != kOk) return status;
  SkewVote vote;
  for (TextLine& line : context.text_lines()) {
    if (const int status = LineSkew(context, line, iteration).measure(vote); status != kOk) {
      return status;
    }
  }
  const std::int64_t lines = context.text_lines().size();
  if (lines == 0 || vote.votes == 0 || vote.votes < lines / 2) {
    *verdict = Verdict::kRejected;
    return kOk;
  }
  const double mean = vote.sum / static_cast<double>(vote.votes);
  if ((vote.votes < vote.total_length / 3 && std::abs(context.work().line_rotation) < 10) ||
      std::abs(mean) < 3.0) {
    *verdict = Verdict::kAccepted;
    return kOk;
  }
  if (std::abs(mean) >= 1.2 * std::abs(*previous)) {
    *verdict = Verdict::kRejected;
    return kOk;
  }
  *previous = mean;
  *verdict = Verdict::kAgain;
  if (const int status = rotate_line_points(context, -static_cast<int>(mean)); status != kOk) {
    return status;
  }
  return analyse_line_set(context, false);
}

}  // namespace

int estimate_line_slant(RecognitionContext& context, bool correct) {
  if (const int status = analyse_line_set(context, true); status != kOk || !correct) return status;
  LineWork& work = context.work();
  const int entry_rotation = work.line_rotation;
  if (work.strokes.size() == 1 && work.line_rotation < 2) {
    work.lines_done = 1;
    return kOk;
  }
  double previous = 100.0;
  Verdict verdict = Verdict::kAgain;
  for (int iteration = 0; verdict == Verdict::kAgain; ++iteration) {
    if (iteration == 3) {
      verdict = Verdict::kAccepted;
      break;
    }
    if (const int status = judge(context, iteration, &previous, &verdict); status != kOk) {
      return status;
    }
  }
  const int rotation = work.line_rotation;
  if (verdict == Verdict::kAccepted && (rotation == 0 || std::abs(rotation) >= 5)) {
    work.skew_correction += rotation - entry_rotation;
    return kOk;
  }
  if (rotation == entry_rotation) return kOk;
  if (const int status = rotate_line_points(context, entry_rotation - rotation); status != kOk) {
    return status;
  }
  return analyse_line_set(context, false);
}

}  // namespace inkrec
