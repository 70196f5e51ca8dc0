// StrokeSpline: a piecewise cubic curve laid through the points of one
// stroke, parametrised by chord length, that answers curvature queries.
//
// The curve is built on the first query and kept while later queries ask for
// the same end tangents (equal within 1e-5); any other tangents rebuild it.
// A query the curve cannot answer (a segment or t out of range, a stroke of
// fewer than three points, two equal consecutive points, an allocation that
// failed) yields kNoSplineValue. All arithmetic is double precision.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

// The marker of a query outside the curve.
inline constexpr double kNoSplineValue = 1e300;

struct Vector2 {
  double x = 0.0;
  double y = 0.0;

  static Vector2 from_point(PackedPoint p) {
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
  }

  Vector2 operator+(Vector2 o) const { return {x + o.x, y + o.y}; }
  Vector2 operator-(Vector2 o) const { return {x - o.x, y - o.y}; }
  Vector2 operator*(double k) const { return {x * k, y * k}; }
  Vector2 operator/(double k) const { return *this * (1.0 / k); }
  double length() const;
  double cross(Vector2 o) const { return x * o.y - y * o.x; }
  // |x - o.x| < e and |y - o.y| < e.
  bool near(Vector2 o, double e) const;
};

// P(s) = a0 + a1 s + a2 s^2 + a3 s^3 for s from 0 to the segment's chord.
struct SplineSegment {
  Vector2 a0, a1, a2, a3;

  Vector2 point_at(double s) const { return a0 + (a1 + (a2 + a3 * s) * s) * s; }
  Vector2 first_derivative_at(double s) const { return a1 + (a2 * 2.0 + a3 * (3.0 * s)) * s; }
  Vector2 second_derivative_at(double s) const { return a2 * 2.0 + a3 * (6.0 * s); }
  // cross(P', P'') / |P'|^3; exactly 0 when the cross product is 0.
  double curvature_at(double s) const;
};

// Solves a[i] x[i-1] + b[i] x[i] + c[i] x[i+1] = d[i] (Thomas algorithm, no
// pivoting; a[0] and c[n-1] unused) into x. x is left empty when the four
// lengths differ or memory runs out.
void solve_tridiagonal(const DynArray<double>& a, const DynArray<double>& b,
                       const DynArray<double>& c, const DynArray<double>& d, DynArray<double>& x);

class StrokeSpline {
 public:
  // The points stay the caller's and must outlive the spline.
  explicit StrokeSpline(const DynArray<PointRecord>* points) : points_(points) {}

  // The segment array for these end tangents (null: none given), built or
  // reused; empty when the curve cannot be built.
  const DynArray<SplineSegment>& segments(const Vector2* start_tangent, const Vector2* end_tangent);

  // Segment i and the chord parameter s = t * chord(i + 1); false when t is
  // outside 0..1, i + 1 is not a point, or there is no segment i.
  bool locate(std::int32_t i, double t, const Vector2* start_tangent, const Vector2* end_tangent,
              const SplineSegment** segment, double* s);

  // f(segment, s) at (i, t), or kNoSplineValue where locate fails.
  template <typename F>
  double value_at(std::int32_t i, double t, const Vector2* start_tangent,
                  const Vector2* end_tangent, F f) {
    const SplineSegment* segment = nullptr;
    double s = 0.0;
    if (!locate(i, t, start_tangent, end_tangent, &segment, &s)) return kNoSplineValue;
    return f(*segment, s);
  }

  double curvature_at(std::int32_t i, double t, const Vector2* start_tangent = nullptr,
                      const Vector2* end_tangent = nullptr);

  // The first derivative at every point into out (one per point); out is
  // left empty when the stroke has fewer than three points, two equal
  // consecutive points, or memory runs out.
  void node_tangents(const Vector2* start_tangent, const Vector2* end_tangent,
                     DynArray<Vector2>& out);

 private:
  std::int32_t point_count() const;
  PackedPoint point(std::int32_t i) const {
    return (*points_)[static_cast<std::uint32_t>(i)].point;
  }
  // Fills the chords once: 0, then the distance from the previous point.
  void ensure_chords();
  bool reusable(const Vector2* start_tangent, const Vector2* end_tangent) const;
  void build(const Vector2* start_tangent, const Vector2* end_tangent);

  const DynArray<PointRecord>* points_;
  DynArray<double> chords_;
  bool chords_ready_ = false;
  DynArray<SplineSegment> segments_;
  bool built_ = false;
  bool has_start_tangent_ = false;
  bool has_end_tangent_ = false;
  Vector2 start_tangent_;
  Vector2 end_tangent_;
};

}  // namespace inkrec
