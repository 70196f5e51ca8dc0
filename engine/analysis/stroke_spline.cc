// StrokeSpline: chords, node tangents, Hermite segments and curvature.

#include "engine/analysis/stroke_spline.h"

#include <cmath>

#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

constexpr double kTangentTolerance = 1e-5;

bool same_tangent(const Vector2* query, bool stored, Vector2 stored_value) {
  if (query == nullptr) return !stored;
  return stored && query->near(stored_value, kTangentTolerance);
}

}  // namespace

double Vector2::length() const { return math_sqrt(x * x + y * y); }

bool Vector2::near(Vector2 o, double e) const {
  return std::fabs(x - o.x) < e && std::fabs(y - o.y) < e;
}

double SplineSegment::curvature_at(double s) const {
  const Vector2 d1 = first_derivative_at(s);
  const Vector2 d2 = second_derivative_at(s);
  const double cross = d1.cross(d2);
  if (cross == 0.0) return 0.0;
  const double speed = d1.length();
  return cross / (speed * speed * speed);
}

void solve_tridiagonal(const DynArray<double>& a, const DynArray<double>& b,
                       const DynArray<double>& c, const DynArray<double>& d, DynArray<double>& x) {
  x.clear();
  const std::uint32_t n = b.size();
  if (a.size() != n || c.size() != n || d.size() != n || n == 0) return;
  DynArray<double> c_prime;
  DynArray<double> d_prime;
  if (c_prime.resize(n) != kOk || d_prime.resize(n) != kOk || x.resize(n) != kOk) {
    x.clear();
    return;
  }
  c_prime[0] = c[0] / b[0];
  d_prime[0] = d[0] / b[0];
  for (std::uint32_t i = 1; i < n; ++i) {
    const double m = 1.0 / (b[i] - a[i] * c_prime[i - 1]);
    c_prime[i] = c[i] * m;
    d_prime[i] = (d[i] - a[i] * d_prime[i - 1]) * m;
  }
  x[n - 1] = d_prime[n - 1];
  for (std::uint32_t i = n - 1; i-- > 0;) x[i] = d_prime[i] - c_prime[i] * x[i + 1];
}

std::int32_t StrokeSpline::point_count() const {
  return points_ == nullptr ? 0 : static_cast<std::int32_t>(points_->size());
}

void StrokeSpline::ensure_chords() {
  if (chords_ready_) return;
  const std::int32_t n = point_count();
  if (chords_.resize(static_cast<std::uint32_t>(n)) != kOk) {
    chords_.clear();
    return;
  }
  for (std::int32_t i = 0; i < n; ++i) {
    if (i == 0) {
      chords_[0] = 0.0;
      continue;
    }
    const double dx = point(i).x - point(i - 1).x;
    const double dy = point(i).y - point(i - 1).y;
    chords_[static_cast<std::uint32_t>(i)] = math_sqrt(dx * dx + dy * dy);
  }
  chords_ready_ = true;
}

void StrokeSpline::node_tangents(const Vector2* start_tangent, const Vector2* end_tangent,
                                 DynArray<Vector2>& out) {
  out.clear();
  ensure_chords();
  const std::int32_t n = point_count();
  if (n < 3 || chords_.size() != static_cast<std::uint32_t>(n)) return;
  for (std::int32_t i = 1; i < n; ++i) {
    if (chords_[static_cast<std::uint32_t>(i)] == 0.0) return;
  }
  const auto rows = static_cast<std::uint32_t>(n);
  DynArray<double> a, b, c, dx, dy, x, y;
  if (a.resize(rows) != kOk || b.resize(rows) != kOk || c.resize(rows) != kOk ||
      dx.resize(rows) != kOk || dy.resize(rows) != kOk) {
    return;
  }
  const Vector2 start = start_tangent != nullptr ? *start_tangent : Vector2{};
  const Vector2 end = end_tangent != nullptr ? *end_tangent : Vector2{};
  b[0] = 1.0;
  dx[0] = start.x;
  dy[0] = start.y;
  for (std::uint32_t i = 1; i + 1 < rows; ++i) {
    const double h0 = chords_[i];
    const double h1 = chords_[i + 1];
    const Vector2 before = Vector2::from_point(point(static_cast<std::int32_t>(i))) -
                           Vector2::from_point(point(static_cast<std::int32_t>(i - 1)));
    const Vector2 after = Vector2::from_point(point(static_cast<std::int32_t>(i + 1))) -
                          Vector2::from_point(point(static_cast<std::int32_t>(i)));
    const Vector2 rhs = (before * (h1 * h1) + after * (h0 * h0)) * 3.0 / (h0 * h1);
    a[i] = h1;
    b[i] = 2.0 * (h0 + h1);
    c[i] = h0;
    dx[i] = rhs.x;
    dy[i] = rhs.y;
  }
  b[rows - 1] = 1.0;
  dx[rows - 1] = end.x;
  dy[rows - 1] = end.y;
  solve_tridiagonal(a, b, c, dx, x);
  solve_tridiagonal(a, b, c, dy, y);
  if (x.size() != rows || y.size() != rows || out.resize(rows) != kOk) {
    out.clear();
    return;
  }
  for (std::uint32_t i = 0; i < rows; ++i) out[i] = {x[i], y[i]};
}

bool StrokeSpline::reusable(const Vector2* start_tangent, const Vector2* end_tangent) const {
  return built_ && same_tangent(start_tangent, has_start_tangent_, start_tangent_) &&
         same_tangent(end_tangent, has_end_tangent_, end_tangent_);
}

void StrokeSpline::build(const Vector2* start_tangent, const Vector2* end_tangent) {
  segments_.clear();
  built_ = false;
  DynArray<Vector2> tangents;
  node_tangents(start_tangent, end_tangent, tangents);
  if (tangents.empty()) return;
  const std::uint32_t count = tangents.size() - 1;
  if (segments_.resize(count) != kOk) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    const Vector2 p0 = Vector2::from_point(point(static_cast<std::int32_t>(i)));
    const Vector2 delta = Vector2::from_point(point(static_cast<std::int32_t>(i + 1))) - p0;
    const Vector2 t0 = tangents[i];
    const Vector2 t1 = tangents[i + 1];
    const double h = chords_[i + 1];
    SplineSegment& segment = segments_[i];
    segment.a0 = p0;
    segment.a1 = t0;
    segment.a2 = delta * 3.0 / (h * h) - t0 * 2.0 / h - t1 / h;
    segment.a3 = delta * -2.0 / (h * h * h) + t0 / (h * h) + t1 / (h * h);
  }
  has_start_tangent_ = start_tangent != nullptr;
  has_end_tangent_ = end_tangent != nullptr;
  start_tangent_ = has_start_tangent_ ? *start_tangent : Vector2{};
  end_tangent_ = has_end_tangent_ ? *end_tangent : Vector2{};
  built_ = true;
}

const DynArray<SplineSegment>& StrokeSpline::segments(const Vector2* start_tangent,
                                                      const Vector2* end_tangent) {
  if (!reusable(start_tangent, end_tangent)) build(start_tangent, end_tangent);
  return segments_;
}

bool StrokeSpline::locate(std::int32_t i, double t, const Vector2* start_tangent,
                          const Vector2* end_tangent, const SplineSegment** segment, double* s) {
  if (!(t >= 0.0 && t <= 1.0) || i < 0 || i + 1 >= point_count()) return false;
  ensure_chords();
  if (!chords_ready_) return false;
  const DynArray<SplineSegment>& built = segments(start_tangent, end_tangent);
  if (static_cast<std::uint32_t>(i) >= built.size()) return false;
  *segment = built.item(static_cast<std::uint32_t>(i));
  *s = t * chords_[static_cast<std::uint32_t>(i) + 1];
  return true;
}

double StrokeSpline::curvature_at(std::int32_t i, double t, const Vector2* start_tangent,
                                  const Vector2* end_tangent) {
  return value_at(i, t, start_tangent, end_tangent,
                  [](const SplineSegment& segment, double s) { return segment.curvature_at(s); });
}

}  // namespace inkrec
