#include "engine/segmentation/line_fitting.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"

namespace inkrec {
namespace {

constexpr double kDegreesPerRadian = 57.29577957855229;

using Points = DynArray<PackedPoint>;

double degrees_of(LineFit& fit) { return std::atan(fit.slope()) * kDegreesPerRadian; }

// Makes the fit the line through (left, y_left) and (right, y_right).
void set_line(LineFit& fit, const Box16& box, int y_left, int y_right) {
  fit.reset();
  fit.add_point(box.left, y_left, 1);
  fit.add_point(box.right, y_right, 1);
}

void set_flat(LineFit& fit, const Box16& box, int y) { set_line(fit, box, y, y); }

// The fitting of one line.
class LineFitter {
 public:
  LineFitter(RecognitionContext& context, TextLine& line)
      : context_(context), line_(line), t_(half_height(context.letter_height())) {}

  int run() {
    for (LineFit& fit : line_.fits) fit.reset();
    if (RequestSwitches(context_.kernel().params()).baselines_given()) return fit_to_bands();
    if (line_.strokes.empty()) return kOk;
    narrow_for_marks_above();
    if (const int status = collect_midpoints(); status != kOk) return status;
    if (const int status = fit_working_line(); status != kOk) return status;
    straighten_working_line();
    if (const int status = collect_outer_points(); status != kOk) return status;
    fit_outer_lines();
    make_parallel();
    return kOk;
  }

 private:
  static int half_height(int h) { return h < 3 ? 1 : h / 2; }

  StrokeRecord* stroke(std::uint16_t s) { return context_.strokes().item_checked(s); }
  const ExtremumList* extrema(std::uint16_t s) {
    return context_.stroke_extrema().item_checked(s);
  }

  int fit_to_bands() {
    for (const std::uint16_t s : line_.strokes) {
      StrokeRecord* record = stroke(s);
      if (record == nullptr) return kBadArgument;
      const int x = reference_point(record->geometry).x;
      const ReferenceBand& band = record->geometry.reference_band();
      line_.fits[0].add_point(x, band.top, 1);
      line_.fits[1].add_point(x, (band.top + band.bottom) / 2, 1);
      line_.fits[2].add_point(x, band.bottom, 1);
    }
    return kOk;
  }

  // A line of two or three strokes whose later strokes are small marks
  // above the first (an accent over a letter) is sized by the first.
  void narrow_for_marks_above() {
    const std::uint32_t n = line_.strokes.size();
    if (n < 2 || n > 3) return;
    const Box16 first = stroke(line_.strokes[0])->geometry.bounding_box();
    for (std::uint32_t k = 1; k < n; ++k) {
      const Box16 b = stroke(line_.strokes[k])->geometry.bounding_box();
      const int overlap = std::min(first.bottom, b.bottom) - std::max(first.top, b.top);
      if (b.height() > first.height() || b.top >= first.top || overlap > first.height() / 10) {
        return;
      }
    }
    t_ = first.height() <= 1 ? 1 : first.height() / 2;
  }

  // The midpoints of neighbouring turning points; the centre points among
  // them are those whose height is near 2t.
  int collect_midpoints() {
    for (const std::uint16_t s : line_.strokes) {
      const ExtremumList* list = extrema(s);
      if (list == nullptr) return kBadArgument;
      const DynArray<Extremum>& e = list->entries;
      for (std::uint32_t k = 0; k + 1 < e.size(); ++k) {
        if (!e[k].is_turning_point() || !e[k + 1].is_turning_point()) continue;
        const PackedPoint a = e[k].point;
        const PackedPoint b = e[k + 1].point;
        const PackedPoint m{static_cast<std::int16_t>((a.x + b.x) / 2),
                            static_cast<std::int16_t>((a.y + b.y) / 2)};
        const int dy = std::abs(a.y - b.y);
        const int r = std::abs(2 * t_ - dy) * 100 / (2 * t_);
        if (midpoints_.push_back(m) != kOk) return kOutOfMemory;
        line_.fits[1].add_packed_point(m, 1);
        if ((r < 35 && dy >= 2 * t_) || (r < 50 && dy < 2 * t_)) {
          if (!centres_.empty()) step_sum_ += std::abs(m.y - centres_.back().y);
          if (centres_.push_back(m) != kOk) return kOutOfMemory;
        }
      }
    }
    const std::int64_t all = midpoints_.size();
    if (all > 0 && (all - centres_.size()) * 100 / all > 40) centres_.clear();
    if (centres_.empty() && centres_.assign(midpoints_) != kOk) return kOutOfMemory;
    return kOk;
  }

  // The working centre line through the centre points, leaving out those
  // that step away from both neighbours.
  int fit_working_line() {
    const std::uint32_t n = centres_.size();
    if (n > 3) {
      const int s = std::max<std::int64_t>(t_, step_sum_ / (n - 1));
      LineFit local;
      fill_from_triples(local, s, nullptr);
      if (local.point_count() > 2) fill_from_triples(working_, s, &local);
    }
    if (working_.is_empty()) {
      for (const PackedPoint& p : centres_) working_.add_packed_point(p, 1);
    }
    if (midpoints_.empty()) {
      const PackedPoint p = last_stroke_start();
      for (LineFit* fit : {&line_.fits[1], &working_}) {
        fit->add_packed_point(p, 1);
        fit->add_point(p.x - 30, p.y, 1);
      }
    }
    return kOk;
  }

  // Over the triples of neighbouring centre points: without `local`, the
  // points whose steps to their neighbours stay below s; with it, the
  // points that do not both step away and lie further from it than the
  // neighbour they step from.
  void fill_from_triples(LineFit& out, int s, LineFit* local) {
    const std::uint32_t n = centres_.size();
    for (std::uint32_t i = 0; i + 2 < n; ++i) {
      const PackedPoint k0 = centres_[i];
      const PackedPoint k1 = centres_[i + 1];
      const PackedPoint k2 = centres_[i + 2];
      const bool s1 = std::abs(k0.y - k1.y) >= s;
      const bool s2 = std::abs(k1.y - k2.y) >= s;
      if (local == nullptr) {
        if (i == 0 && !s1) out.add_packed_point(k0, 1);
        if (!s1 && !s2) out.add_packed_point(k1, 1);
        if (i + 3 == n && !s2) out.add_packed_point(k2, 1);
        continue;
      }
      const int e0 = off_line(*local, k0);
      const int e1 = off_line(*local, k1);
      const int e2 = off_line(*local, k2);
      if (i == 0 && !((s1 && s2 && e0 > e1) || (s1 && !s2 && e0 > e1 && e0 > e2) ||
                      (!s1 && s2 && e0 > e2))) {
        out.add_packed_point(k0, 1);
      }
      if (!((s1 && e1 >= e0) || (s2 && e1 >= e2))) out.add_packed_point(k1, 1);
      if (i + 3 == n && !((s1 && s2 && e2 > e1) || (s2 && !s1 && e2 > e1 && e2 > e0) ||
                          (!s2 && s1 && e2 > e0))) {
        out.add_packed_point(k2, 1);
      }
    }
  }

  static int off_line(LineFit& fit, PackedPoint p) {
    return static_cast<std::int16_t>(std::abs(p.y - fit.y_at(p.x)));
  }

  PackedPoint last_stroke_start() {
    const StrokeRecord* last = stroke(line_.strokes.back());
    return last->run.empty() ? PackedPoint{} : last->run.span()[0];
  }

  // A fit of one point becomes flat across the line's box; a steep working
  // line becomes flat through its height at the box's centre.
  void straighten_working_line() {
    for (LineFit* fit : {&working_, &line_.fits[1]}) {
      if (fit->point_count() == 1) set_flat(*fit, line_.box, fit->mean_y());
    }
    if (std::abs(degrees_of(working_)) > 10.0) {
      set_flat(working_, line_.box, working_.y_at(line_.box.center_x()));
    }
  }

  // The maxima well below the working line and the minima well above it.
  int collect_outer_points() {
    for (const std::uint16_t s : line_.strokes) {
      for (const Extremum& e : extrema(s)->entries) {
        const int c = working_.y_at(e.point.x);
        if (e.is_maximum() && e.point.y > c + t_ / 4) {
          if (lower_.push_back(e.point) != kOk) return kOutOfMemory;
          line_.fits[2].add_packed_point(e.point, 1);
        } else if (e.is_minimum() && e.point.y < c - t_ / 4) {
          if (upper_.push_back(e.point) != kOk) return kOutOfMemory;
          line_.fits[0].add_packed_point(e.point, 1);
        }
      }
    }
    return kOk;
  }

  void fit_outer_lines() {
    if (upper_.empty() || lower_.empty()) {
      const PackedPoint p = last_stroke_start();
      const Box16 around{static_cast<std::int16_t>(p.x - 30), 0,
                         static_cast<std::int16_t>(p.x + 30), 0};
      set_flat(line_.fits[0], around, p.y - t_);
      set_flat(line_.fits[2], around, p.y + t_);
      return;
    }
    refit(line_.fits[0], upper_, true);
    refit(line_.fits[2], lower_, false);
  }

  // Fits the points again, keeping those on the inner side of the first
  // fit (below the upper line, above the base line) and those that stray
  // from it no more than the mean.
  void refit(LineFit& fit, const Points& points, bool upper) {
    if (points.size() == 1) {
      set_flat(fit, line_.box, points[0].y);
      return;
    }
    LineFit first = fit;
    std::int64_t deviation = 0;
    for (const PackedPoint& p : points) deviation += std::abs(p.y - first.y_at(p.x));
    const std::int64_t mean = deviation / points.size();
    fit.reset();
    for (const PackedPoint& p : points) {
      const int d = p.y - first.y_at(p.x);
      const bool inner = upper ? d >= 0 : d <= 0;
      if (inner || std::abs(d) <= mean) fit.add_packed_point(p, 1);
    }
    if (fit.point_count() == 1) set_flat(fit, line_.box, fit.mean_y());
  }

  // When the outer fits diverge by more than 2 degrees, the steeper one is
  // replaced by a parallel to the other, when the other lies nearer the
  // working line's direction.
  void make_parallel() {
    LineFit& top = line_.fits[0];
    LineFit& bottom = line_.fits[2];
    const double at = std::atan(top.slope());
    const double ab = std::atan(bottom.slope());
    const double aw = std::atan(working_.slope());
    if (std::abs(at - ab) * kDegreesPerRadian <= 2.0) return;
    if (std::abs(at) > std::abs(ab) && std::abs(ab - aw) <= std::abs(at - aw)) {
      set_parallel(top, bottom.slope());
    } else if (std::abs(at) < std::abs(ab) && std::abs(at - aw) <= std::abs(ab - aw)) {
      set_parallel(bottom, top.slope());
    }
  }

  // The fit becomes the line of that slope through the centre of its
  // points' box.
  void set_parallel(LineFit& fit, double slope) {
    const Box16 points = fit.bounding_box();
    const double cx = (points.left + points.right) / 2.0;
    const double cy = (points.top + points.bottom) / 2.0;
    const auto at = [&](int x) { return static_cast<int>(cy + slope * (x - cx)); };
    set_line(fit, line_.box, at(line_.box.left), at(line_.box.right));
  }

  RecognitionContext& context_;
  TextLine& line_;
  int t_;
  Points midpoints_;
  Points centres_;
  std::int64_t step_sum_ = 0;
  LineFit working_;
  Points upper_;
  Points lower_;
};

}  // namespace

int fit_text_lines(RecognitionContext& context) {
  for (TextLine& line : context.text_lines()) {
    for (const std::uint16_t s : line.strokes) {
      if (s >= context.strokes().size()) return kBadArgument;
      if (!RequestSwitches(context.kernel().params()).baselines_given() &&
          s >= context.stroke_extrema().size()) {
        return kBadArgument;
      }
    }
    if (const int status = LineFitter(context, line).run(); status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec
