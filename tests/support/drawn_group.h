// A figure group drawn from polylines, for tests of the shape tests and
// the symbol checks: one whole-stroke figure per stroke (keys: the stroke's
// number, piece 0, end 0, first point 0), each with its steps, crossings
// and geometry prepared, and the group's geometry prepared from them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"
#include "engine/records/trajectory_record.h"
#include "tests/support/figure_ink.h"
#include "tests/support/ink.h"

namespace inkrec::test {

class DrawnGroup {
 public:
  explicit DrawnGroup(const std::vector<Points>& strokes) : group_(nullptr, &geometry_) {
    records_.reserve(strokes.size());
    for (const Points& points : strokes) records_.push_back(point_records(points));
    for (std::size_t i = 0; i < records_.size(); ++i) {
      auto figure = std::make_unique<FigureRecord>();
      figure->run = run_of(records_[i]);
      EXPECT_EQ(fill_steps_and_crossings(figure->run), kOk);
      figure->number = static_cast<std::uint16_t>(i);
      figure->stroke_index = static_cast<std::uint16_t>(i);
      figure->piece = 0;
      figure->piece_key = 0;
      figure->first_point = 0;
      EXPECT_EQ(figure_prepare_glyph(*figure, true), kOk);
      EXPECT_EQ(group_.figures.push_back(figure.get()), kOk);
      figures_.push_back(std::move(figure));
    }
    EXPECT_EQ(group_prepare_glyph(group_, true), kOk);
  }
  DrawnGroup(const DrawnGroup&) = delete;
  DrawnGroup& operator=(const DrawnGroup&) = delete;

  FigureGroup& group() { return group_; }
  FigureRecord& figure(std::size_t i) { return *figures_[i]; }
  Box16 box() const { return geometry_.bounding_box(); }

 private:
  std::vector<std::vector<PointRecord>> records_;
  std::vector<std::unique_ptr<FigureRecord>> figures_;
  GlyphGeometry geometry_;
  FigureGroup group_;
};

}  // namespace inkrec::test
