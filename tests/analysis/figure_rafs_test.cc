#include "engine/analysis/figure_rafs.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "engine/analysis/group_rafs.h"
#include "engine/records/figure_group.h"
#include "engine/records/trajectory_record.h"
#include "tests/support/ink.h"
#include "tests/support/raf_figures.h"

namespace inkrec {
namespace {

using Points = std::vector<PackedPoint>;

StrokeList stroke_list(const std::vector<Points>& strokes) {
  StrokeList list(16, true);
  for (const Points& points : strokes) {
    auto stroke = std::make_unique<Stroke>();
    EXPECT_EQ(stroke->append_n(points.data(), static_cast<std::uint32_t>(points.size())), kOk);
    EXPECT_EQ(list.push_back_owned(std::move(stroke)), kOk);
  }
  return list;
}

std::vector<Points> points_of(const StrokeList& list) {
  std::vector<Points> strokes;
  for (const Stroke* stroke : list) strokes.emplace_back(stroke->begin(), stroke->end());
  return strokes;
}

struct Shape {
  const char* name;
  std::vector<Points> strokes;
};

std::vector<Shape> shapes_of_every_aspect() {
  return {
      {"hyphen", {{{100, 500}, {400, 502}}}},
      {"flat dash", {{{0, 0}, {3000, 0}}}},
      {"upright bar", {{{50, 0}, {52, 900}}}},
      {"tiny letter", {{{10, 10}, {14, 18}, {17, 11}}}},
      {"square box", {{{0, 0}, {200, 0}, {200, 200}, {0, 200}, {0, 0}}}},
      {"at the tablet's far corner", {{{32000, 32000}, {32767, 32767}}}},
      {"negative coordinates", {{{-32768, -100}, {-30000, 400}}}},
      {"full range", {{{-32768, -32768}, {32767, 32767}}, {{-32768, 32767}, {32767, -32768}}}},
      {"two strokes apart", {{{0, 0}, {10, 80}}, {{200, 0}, {210, 70}}}},
  };
}

TEST(FigureRafsTest, NormalisedPointsStayInTheFrame) {
  for (const Shape& shape : shapes_of_every_aspect()) {
    for (const int angle : {0, 1, 45, 60, 90, 120, 135, 179, 260, 359}) {
      for (const bool second_pass : {false, true}) {
        StrokeList strokes = stroke_list(shape.strokes);
        ASSERT_EQ(normalise_figure_strokes(strokes, angle, second_pass), kOk);
        int least_x = 32767;
        int least_y = 32767;
        for (const Points& stroke : points_of(strokes)) {
          for (const PackedPoint p : stroke) {
            EXPECT_TRUE(p.x >= 0 && p.x < kFigureFrameSize && p.y >= 0 && p.y < kFigureFrameSize)
                << shape.name << " angle " << angle << " pass " << second_pass + 1 << ": (" << p.x
                << ", " << p.y << ")";
            least_x = std::min<int>(least_x, p.x);
            least_y = std::min<int>(least_y, p.y);
          }
        }
        EXPECT_EQ(least_x, 0) << shape.name;
        EXPECT_EQ(least_y, 0) << shape.name;
      }
    }
  }
}

TEST(FigureRafsTest, FlatFiguresAreNotSheared) {
  // A hyphen's combined vertical direction is 0: taken as upright, not as a
  // shear of tan(-90).
  for (const bool second_pass : {false, true}) {
    StrokeList at_zero = stroke_list({{{100, 500}, {130, 506}, {400, 503}}});
    StrokeList upright = stroke_list({{{100, 500}, {130, 506}, {400, 503}}});
    ASSERT_EQ(normalise_figure_strokes(at_zero, 0, second_pass), kOk);
    ASSERT_EQ(normalise_figure_strokes(upright, 90, second_pass), kOk);
    EXPECT_EQ(points_of(at_zero), points_of(upright));
  }
}

TEST(FigureRafsTest, ScalingByPass) {
  struct Case {
    const char* name;
    Points points;
    bool second_pass;
    PackedPoint far_corner;
  };
  const Case cases[] = {
      {"first pass keeps the aspect", {{0, 0}, {99, 49}}, false, {47, 23}},
      {"first pass leaves small figures", {{5, 5}, {14, 24}}, false, {9, 19}},
      {"second pass fills both axes", {{0, 0}, {99, 49}}, true, {47, 47}},
      {"a long flat figure keeps a thin side", {{0, 0}, {399, 9}}, true, {47, 5}},
      {"a long tall figure keeps a thin side", {{0, 0}, {9, 399}}, true, {5, 47}},
  };
  for (const Case& c : cases) {
    StrokeList strokes = stroke_list({c.points});
    ASSERT_EQ(normalise_figure_strokes(strokes, 90, c.second_pass), kOk);
    EXPECT_EQ((*strokes[0])[1], c.far_corner) << c.name;
  }
  // A slanted stroke comes out upright.
  StrokeList slanted = stroke_list({{{100, 0}, {0, 100}}});
  ASSERT_EQ(normalise_figure_strokes(slanted, 135, true), kOk);
  EXPECT_EQ((*slanted[0])[0].x, (*slanted[0])[1].x);
}

// A figure of trajectory points: an open loop and a dot.
class FigureRafComputation : public ::testing::Test {
 protected:
  std::vector<PointRecord> loop_ =
      test::point_records({{0, 40}, {20, 0}, {40, 40}, {20, 80}, {0, 40}, {30, 60}, {60, 90}});
  std::vector<PointRecord> dot_ = test::point_records({{70, 10}, {70, 10}});
  PointRun loop_run_ = test::run_of(loop_);
  PointRun dot_run_ = test::run_of(dot_);
  DynArray<Raf> rafs_ = test::full_raf_list();
  RafContext context_;
};

TEST_F(FigureRafComputation, TwoPassesFillTheVector) {
  PointRun* const runs[] = {&loop_run_, &dot_run_};
  RafVector copy;
  FigureRafOptions options;
  options.slant = 0;
  options.angle = 100;
  options.copy_to = &copy;
  ASSERT_EQ(compute_figure_rafs_afresh(context_, test::total_cells(rafs_), rafs_, runs, options),
            kOk);
  EXPECT_GE(context_.vector.nonzero.size(), 3u);
  EXPECT_EQ(copy.nonzero.size(), context_.vector.nonzero.size());
  EXPECT_EQ(copy.values.size(), test::total_cells(rafs_));

  // The dot may come as a second run list: the same figure.
  PointRun* const loop_only[] = {&loop_run_};
  PointRun* const dot_only[] = {&dot_run_};
  options.more_runs = dot_only;
  ASSERT_EQ(
      compute_figure_rafs_afresh(context_, test::total_cells(rafs_), rafs_, loop_only, options),
      kOk);
  EXPECT_TRUE(std::equal(copy.values.begin(), copy.values.end(), context_.vector.values.begin()));
}

TEST_F(FigureRafComputation, Failures) {
  const FigureRafOptions options;
  const std::uint32_t cells = test::total_cells(rafs_);
  PointRun* const missing[] = {&loop_run_, nullptr};
  EXPECT_EQ(compute_figure_rafs_afresh(context_, cells, rafs_, missing, options), kBadArgument);
  PointRun empty;
  PointRun* const no_points[] = {&empty};
  EXPECT_EQ(compute_figure_rafs_afresh(context_, cells, rafs_, no_points, options),
            kFigureWithoutPoints);
  const DynArray<Raf> unknown = test::raf_list({{2, 4, 3}});
  PointRun* const runs[] = {&loop_run_};
  EXPECT_EQ(compute_figure_rafs_afresh(context_, 12, unknown, runs, options), kRafDescriptionCount);
}

TEST_F(FigureRafComputation, AGroupIsDeslantedByItsOwnDirection) {
  FigureRecord loop;
  loop.run = loop_run_;
  GlyphGeometry geometry;
  FigureGroup group(nullptr, &geometry);
  ASSERT_EQ(group.figures.push_back(&loop), kOk);
  ASSERT_EQ(group_prepare_glyph(group, false), kOk);
  geometry.direction.vertical_direction = 110;

  const std::uint32_t cells = test::total_cells(rafs_);
  ASSERT_EQ(context_.reset(cells), kOk);
  ASSERT_EQ(compute_group_rafs(context_, group, rafs_, false, 40), kOk);
  RafVector by_group;
  ASSERT_EQ(by_group.values.assign(context_.vector.values), kOk);

  PointRun* const runs[] = {&loop_run_};
  FigureRafOptions options;
  options.slant = 110;
  options.angle = 110;
  ASSERT_EQ(compute_figure_rafs_afresh(context_, cells, rafs_, runs, options), kOk);
  EXPECT_TRUE(
      std::equal(by_group.values.begin(), by_group.values.end(), context_.vector.values.begin()));
}

class TrainOnSampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_.rafs = &rafs_;
    ASSERT_EQ(work_.context.reset(test::total_cells(rafs_)), kOk);
    add_stroke(
        {{0, 0}, {5, 30}, {10, 60}, {20, 60}, {30, 30}, {35, 10}, {40, 0}, {45, 30}, {50, 60}});
    add_stroke({{70, 0}, {70, 1}});
  }

  void add_stroke(const Points& points) {
    Stroke* stroke = strokes_.push_default();
    ASSERT_EQ(stroke->append_n(points.data(), static_cast<std::uint32_t>(points.size())), kOk);
  }

  DynArray<Raf> rafs_ = test::full_raf_list();
  SampleFeatureWork work_;
  StrokeArray strokes_;
};

bool ascending(const DynArray<std::uint16_t>& list) {
  return std::is_sorted(list.begin(), list.end()) &&
         std::adjacent_find(list.begin(), list.end()) == list.end();
}

TEST_F(TrainOnSampleTest, OneHitListPerOffset) {
  const int offsets[] = {0, -12, 12};
  std::int32_t step = -1;
  ASSERT_EQ(train_on_sample(work_, strokes_, offsets, &step, -1, -1, -1, nullptr), kOk);
  EXPECT_GE(step, 1);  // derived from the sample and written back
  ASSERT_EQ(work_.hit_lists.size(), 3u);
  for (const DynArray<std::uint16_t>& hits : work_.hit_lists) {
    EXPECT_GE(hits.size(), 3u);
    EXPECT_TRUE(ascending(hits));
  }

  // The same step given again gives the same cells.
  const std::int32_t derived = step;
  ASSERT_EQ(train_on_sample(work_, strokes_, std::span(offsets, 1), &step, -1, -1, -1, nullptr),
            kOk);
  EXPECT_EQ(step, derived);
  ASSERT_EQ(work_.hit_lists.size(), 4u);
  EXPECT_TRUE(std::equal(work_.hit_lists[0].begin(), work_.hit_lists[0].end(),
                         work_.hit_lists[3].begin(), work_.hit_lists[3].end()));
}

TEST_F(TrainOnSampleTest, AHyphenTrainsUpright) {
  // A flat figure's combined vertical direction is 0; it and 0 - 12 are
  // both taken as upright.
  strokes_.clear();
  add_stroke({{100, 500}, {180, 502}, {260, 501}, {400, 503}});
  const int offsets[] = {0, -12, 12};
  std::int32_t step = -1;
  ASSERT_EQ(train_on_sample(work_, strokes_, offsets, &step, -1, -1, -1, nullptr), kOk);
  ASSERT_EQ(work_.hit_lists.size(), 3u);
  const auto& hits = work_.hit_lists;
  EXPECT_TRUE(std::equal(hits[0].begin(), hits[0].end(), hits[1].begin(), hits[1].end()));
}

TEST_F(TrainOnSampleTest, EnabledFeaturesOnly) {
  const int offsets[] = {0};
  std::int32_t step = 3;
  DynArray<std::uint16_t> enabled;
  ASSERT_EQ(enabled.push_back(0), kOk);  // "01-Dir4", the second block
  ASSERT_EQ(train_on_sample(work_, strokes_, offsets, &step, -1, -1, -1, &enabled), kOk);
  const Raf& dir4 = rafs_[1];
  ASSERT_EQ(work_.hit_lists.size(), 1u);
  for (const std::uint16_t cell : work_.hit_lists[0]) {
    EXPECT_TRUE(cell >= dir4.offset && cell < dir4.end()) << cell;
  }
}

TEST_F(TrainOnSampleTest, PieceOfOneStroke) {
  const int offsets[] = {0};
  std::int32_t step = 3;
  // The whole of the first stroke as a piece: from its first to its last
  // point, both of which are always trajectory vertices.
  ASSERT_EQ(train_on_sample(work_, strokes_, offsets, &step, 0, 0, 8, nullptr), kOk);
  ASSERT_EQ(work_.hit_lists.size(), 1u);
  EXPECT_GE(work_.hit_lists[0].size(), 3u);

  EXPECT_EQ(train_on_sample(work_, strokes_, offsets, &step, 0, 0, 40, nullptr), kPieceNotFound);
  EXPECT_EQ(train_on_sample(work_, strokes_, offsets, &step, 0, 8, 0, nullptr), kPieceNotFound);
  EXPECT_EQ(train_on_sample(work_, strokes_, offsets, &step, 2, 0, 1, nullptr), kBadArgument);
  EXPECT_EQ(work_.hit_lists.size(), 1u);
}

}  // namespace
}  // namespace inkrec
