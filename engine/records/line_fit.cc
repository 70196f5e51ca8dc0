// LineFit.

#include "engine/records/line_fit.h"

#include <cmath>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {

std::int16_t saturate_double_int16(double v) {
  if (std::isnan(v)) return 0;
  if (v <= -32768.0) return -32768;
  if (v >= 32767.0) return 32767;
  return static_cast<std::int16_t>(std::trunc(v));
}

int LineFit::add_point(int x, int y, int weight) {
  if (weight < 1) weight = 1;
  const PackedPoint p{saturate_int16(x), saturate_int16(y)};
  if (weight_sum_ == 0) {
    box_.set(p.x, p.y, p.x, p.y);
  } else {
    box_.include_point(p);
  }
  ++count_;
  fitted_ = false;
  const double q = static_cast<double>(weight) * weight;
  const double dx = x;
  const double dy = y;
  swxy_ += dx * dy * q;
  swy_ += dy * q;
  swxx_ += dx * dx * q;
  swx_ += dx * q;
  weight_sum_ += std::int64_t{weight} * weight;
  sum_x_ += dx;
  sum_y_ += dy;
  return kOk;
}

void LineFit::solve() {
  if (weight_sum_ == 0) {
    sxy_ = 0;
    sxx_ = 1.0;
    intercept_ = 0;
    slope_ = 0;
    mean_x_ = 0;
    mean_y_ = 0;
    return;
  }
  const double w = static_cast<double>(weight_sum_);
  sxy_ = swxy_ - (swy_ / w) * swx_;
  sxx_ = swxx_ - (swx_ / w) * swx_;
  if (sxx_ == 0) sxx_ = 1.0;
  slope_ = sxy_ / sxx_;
  intercept_ = (swy_ - slope_ * swx_) / w;
  mean_x_ = saturate_double_int16(sum_x_ / count_);
  mean_y_ = saturate_double_int16(sum_y_ / count_);
  fitted_ = true;
}

std::int16_t LineFit::y_at(int x) {
  ensure_solved();
  if (box_.height() >= box_.width()) return mean_y_;
  return saturate_double_int16(slope_ * x + intercept_);
}

}  // namespace inkrec
