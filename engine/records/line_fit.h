// LineFit: a weighted least-squares straight line through points of a text
// line, y as a function of x.
//
// Points are added one at a time (a weight below 1 counts as 1; each point
// counts with the square of its weight) and the line is solved lazily, once
// per batch of additions, so slope(), intercept() and y_at() are cheap to
// call again and again. Sums of products are doubles; the sum of weights is
// 64-bit, and every conversion of a fitted value to an integer saturates.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"

namespace inkrec {

class LineFit {
 public:
  LineFit() = default;

  // Forgets every point: sums, counts, fit and box back to zero.
  void reset() { *this = LineFit(); }

  int add_point(int x, int y, int weight);
  int add_packed_point(PackedPoint p, int weight) { return add_point(p.x, p.y, weight); }

  // Computes slope, intercept and mean point from the sums. Without points
  // the fit is flat through y = 0 and stays unsolved.
  void solve();
  void ensure_solved() {
    if (!fitted_) solve();
  }

  double slope() {
    ensure_solved();
    return slope_;
  }
  double intercept() {
    ensure_solved();
    return intercept_;
  }
  // The line's y at x. A set of points at least as tall as it is wide
  // gives no usable slope: then the mean y of the points.
  std::int16_t y_at(int x);

  std::int16_t mean_x() {
    ensure_solved();
    return mean_x_;
  }
  std::int16_t mean_y() {
    ensure_solved();
    return mean_y_;
  }

  bool is_empty() const { return weight_sum_ == 0; }
  std::int32_t point_count() const { return count_; }
  const Box16& bounding_box() const { return box_; }
  bool fitted() const { return fitted_; }

 private:
  double sum_x_ = 0;
  double sum_y_ = 0;
  double swxy_ = 0;              // sum of w² x y
  double swy_ = 0;               // sum of w² y
  double swxx_ = 0;              // sum of w² x²
  double swx_ = 0;               // sum of w² x
  std::int64_t weight_sum_ = 0;  // sum of w²
  std::int32_t count_ = 0;
  double sxy_ = 0;  // centred sums, set by solve()
  double sxx_ = 0;
  double intercept_ = 0;
  std::int16_t mean_x_ = 0;
  std::int16_t mean_y_ = 0;
  double slope_ = 0;
  Box16 box_;
  bool fitted_ = false;
};

// A double truncated toward zero and saturated to 16 bits (NaN gives 0).
std::int16_t saturate_double_int16(double v);

}  // namespace inkrec
