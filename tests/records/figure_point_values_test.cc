// The per-point values of a figure's stroke, from the figure's first point
// to its last, and the crossing mark of its points.
#include "engine/records/figure_point_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

// Stroke 0 holds the values 100..109, stroke 1 none.
class FigurePointValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto values = std::make_unique<DynArray<std::uint32_t>>();
    for (std::uint32_t v = 100; v < 110; ++v) ASSERT_EQ(values->push_back(v), kOk);
    ASSERT_EQ(strokes_.push_back_owned(std::move(values)), kOk);
    ASSERT_EQ(strokes_.push_back(nullptr), kOk);
  }

  // A figure of stroke s over the stroke points first..last.
  FigureRecord figure(std::uint16_t s, int first, int last) {
    points_.clear();
    for (int k = first; k <= last; ++k) {
      points_.push_back({PackedPoint{}, TrajectoryRecord(static_cast<std::uint16_t>(k))});
    }
    FigureRecord f;
    f.stroke_index = s;
    f.run = test::run_of(points_);
    return f;
  }

  PtrArray<DynArray<std::uint32_t>> strokes_{16, true};
  std::vector<PointRecord> points_;
};

TEST_F(FigurePointValuesTest, SpansTheFiguresPointsWithinItsStroke) {
  struct Case {
    std::string name;
    std::uint16_t stroke;
    int first;
    int last;
    std::vector<std::uint32_t> values;
    int status;  // 7 when left alone
  };
  const std::vector<Case> cases = {
      {"inside the stroke", 0, 3, 6, {103, 104, 105, 106}, 7},
      {"the whole stroke", 0, 0, 9, {100, 101, 102, 103, 104, 105, 106, 107, 108, 109}, 7},
      {"one point", 0, 9, 9, {109}, 7},
      {"running past the stroke's values ends with them", 0, 8, 12, {108, 109}, 7},
      {"starting past them", 0, 10, 12, {}, 7},
      {"a stroke without values", 1, 0, 3, {}, kBadArgument},
      {"a stroke past the table", 2, 0, 3, {}, kBadArgument},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FigureRecord f = figure(c.stroke, c.first, c.last);
    int status = 7;
    const std::span<const std::uint32_t> span = figure_point_values(strokes_, f, &status, nullptr);
    EXPECT_EQ(std::vector<std::uint32_t>(span.begin(), span.end()), c.values);
    EXPECT_EQ(status, c.status);
  }
}

TEST_F(FigurePointValuesTest, AFigureWithoutPointsSpansNothing) {
  FigureRecord f;
  f.stroke_index = 0;
  int status = 7;
  std::uint8_t marker = 0;
  EXPECT_TRUE(figure_point_values(strokes_, f, &status, &marker).empty());
  EXPECT_EQ(status, 7);
  EXPECT_EQ(marker, 0);
}

// The marker is set by a point with either crossing mark and never cleared.
TEST_F(FigurePointValuesTest, ACrossingMarkSetsTheMarker) {
  for (const std::uint16_t mark :
       {TrajectoryRecord::kFirstCrossing, TrajectoryRecord::kSecondCrossing}) {
    FigureRecord f = figure(0, 2, 5);
    std::uint8_t marker = 0;
    EXPECT_EQ(figure_point_values(strokes_, f, nullptr, &marker).size(), 4u);
    EXPECT_EQ(marker, 0);
    points_[2].trajectory.add_flags(mark);
    EXPECT_EQ(figure_point_values(strokes_, f, nullptr, &marker).size(), 4u);
    EXPECT_EQ(marker, 1);
    points_[2].trajectory.clear_flags();
    figure_point_values(strokes_, f, nullptr, &marker);
    EXPECT_EQ(marker, 1);
  }
}

}  // namespace
}  // namespace inkrec
