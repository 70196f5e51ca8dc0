// Synthetic figures for tests of the shape analysis and the figure
// measures: polylines and circles turned into runs of point records whose
// steps and crossings are filled in, with the figure's geometry prepared.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "engine/foundation/point.h"
#include "engine/foundation/status.h"
#include "engine/records/glyph_geometry.h"
#include "engine/records/point_run.h"
#include "engine/records/trajectory_record.h"
#include "tests/support/ink.h"

namespace inkrec::test {

using Points = std::vector<PackedPoint>;

// A figure of runs of point records, prepared from them.
class Figure {
 public:
  explicit Figure(const std::vector<Points>& strokes, bool trajectory_mode = true)
      : trajectory_mode_(trajectory_mode) {
    for (const Points& points : strokes) records_.push_back(point_records(points));
    for (auto& stroke : records_) runs_.push_back(run_of(stroke));
    for (PointRun& run : runs_) list_.push_back(&run);
    refill();
  }
  Figure(const Figure&) = delete;
  Figure& operator=(const Figure&) = delete;

  // Fills the steps and crossings of the records again (after a test has
  // set crossing partners) and prepares the geometry again.
  void refill() {
    for (PointRun& run : runs_) fill_steps_and_crossings(run);
    status_ = glyph_.prepare(list_, trajectory_mode_);
  }

  int status() const { return status_; }
  RunList runs() const { return list_; }
  GlyphGeometry& glyph() { return glyph_; }
  const DirectionStatistics& direction() const { return glyph_.direction; }
  std::vector<PointRecord>& stroke(std::size_t i) { return records_[i]; }
  PointRun& run(std::size_t i) { return runs_[i]; }

 private:
  bool trajectory_mode_;
  std::vector<std::vector<PointRecord>> records_;
  std::vector<PointRun> runs_;
  std::vector<PointRun*> list_;
  GlyphGeometry glyph_;
  int status_ = kOk;
};

// The points of a polyline through the corners, every `step` units.
inline Points polyline(const Points& corners, int step = 10) {
  Points points{corners.front()};
  for (std::size_t k = 1; k < corners.size(); ++k) {
    const PackedPoint a = corners[k - 1];
    const PackedPoint b = corners[k];
    const int n = std::max({1, std::abs(b.x - a.x) / step, std::abs(b.y - a.y) / step});
    for (int i = 1; i <= n; ++i) {
      points.push_back({static_cast<std::int16_t>(a.x + (b.x - a.x) * i / n),
                        static_cast<std::int16_t>(a.y + (b.y - a.y) * i / n)});
    }
  }
  return points;
}

// A circle of radius r about (cx, cy) from its rightmost point, drawn
// clockwise on the tablet (y grows downward) or anticlockwise.
inline Points circle(int cx, int cy, int r, bool clockwise, int points = 36) {
  Points out;
  for (int i = 0; i <= points; ++i) {
    const double a = 2 * std::numbers::pi * i / points * (clockwise ? 1 : -1);
    out.push_back({static_cast<std::int16_t>(std::lround(cx + r * std::cos(a))),
                   static_cast<std::int16_t>(std::lround(cy + r * std::sin(a)))});
  }
  return out;
}

}  // namespace inkrec::test
