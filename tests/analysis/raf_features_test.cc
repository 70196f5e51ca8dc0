#include "engine/analysis/raf_features.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "engine/foundation/trigonometry.h"
#include "tests/support/raf_figures.h"

namespace inkrec {
namespace {

using test::block_values;
using test::compute_figure;
using test::raf_list;
using test::RafRun;
using Points = std::vector<PackedPoint>;
using Figure = std::vector<Points>;

// The sum of every plane of a block with `planes` counters per cell.
std::vector<int> plane_sums(const RafContext& context, const Raf& raf, int planes) {
  const std::vector<int> values = block_values(context, raf);
  std::vector<int> sums(static_cast<std::size_t>(planes), 0);
  const std::size_t per_plane = values.size() / static_cast<std::size_t>(planes);
  for (std::size_t i = 0; i < values.size(); ++i) sums[i / per_plane] += values[i];
  return sums;
}

int total(const std::vector<int>& values) {
  return std::accumulate(values.begin(), values.end(), 0);
}

TEST(RafDirections, StraightStrokesLightTheirDirectionPlanes) {
  const DynArray<Raf> dir4 = raf_list({{1, 12, 3}});
  const struct {
    PackedPoint end;
    int direction;
    std::vector<bool> planes;
  } cases[] = {
      {{30, 30}, 45, {false, true, false, false}}, {{40, 17}, 23, {true, true, false, false}},
      {{30, 0}, 0, {true, false, false, false}},   {{0, 30}, 90, {false, false, true, false}},
      {{9, 20}, 66, {false, false, false, false}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(step_direction({0, 0}, c.end), c.direction);
    RafContext context;
    const int status = compute_figure(context, {{{0, 0}, c.end}}, RafRun{&dir4});
    const std::vector<int> sums = plane_sums(context, dir4[0], 4);
    EXPECT_EQ(status, total(sums) == 0 ? kRafTooLittleData : kOk);
    for (std::size_t p = 0; p < 4; ++p)
      EXPECT_EQ(sums[p] > 0, c.planes[p]) << c.direction << " plane " << p;
  }
}

TEST(RafDirections, DiagonalCountsIntoBandsAndTheirNeighbours) {
  // The raster (t, t), t = 0..30, has bands 0-10, 11-20, 21-30 on both axes;
  // the points next to a boundary also count across it, never diagonally.
  const DynArray<Raf> dir4 = raf_list({{1, 12, 3}});
  RafContext context;
  ASSERT_EQ(compute_figure(context, {{{0, 0}, {30, 30}}}, RafRun{&dir4}), kOk);
  const std::vector<int> values = block_values(context, dir4[0]);
  EXPECT_EQ(std::vector<int>(values.begin() + 9, values.begin() + 18),
            (std::vector<int>{11, 2, 0, 2, 10, 2, 0, 2, 10}));
  EXPECT_EQ(total(values), 39);
}

TEST(RafDirections, ShortSegmentsVoteInPairs) {
  const DynArray<Raf> rafs = raf_list({{1, 12, 3}, {19, 24, 3}});
  const struct {
    Points stroke;
    int dir4_plane;  // -1: nothing voted
  } cases[] = {
      {{{10, 10}, {11, 10}, {13, 10}}, -1},  // lengths 1 + 2 stay below 4
      {{{10, 10}, {12, 10}, {14, 10}}, 0},   // lengths 2 + 2 vote (10 + 350 + 360) / 2 = 360
  };
  for (const auto& c : cases) {
    RafContext context;
    compute_figure(context, {c.stroke}, RafRun{&rafs});
    context.work.segments[0].direction = 10;
    context.work.segments[1].direction = 350;
    context.work.segments[1].turn = -20;
    ASSERT_EQ(context.vector.reset(test::total_cells(rafs)), kOk);
    for (const Raf& raf : rafs) ASSERT_EQ(compute_raf(RafDescriptor{raf}, context, false), kOk);
    const std::vector<int> dir4 = plane_sums(context, rafs[0], 4);
    const std::vector<int> dir8 = plane_sums(context, rafs[1], 8);
    if (c.dir4_plane < 0) {
      EXPECT_EQ(total(dir4) + total(dir8), 0);
    } else {
      // The three raster points of the second segment.
      EXPECT_GE(dir4[0], 3);
      EXPECT_EQ(total(dir4), dir4[0]);
      EXPECT_EQ(dir8[0], dir4[0]);
      EXPECT_EQ(total(dir8), dir8[0]);
    }
  }
}

TEST(RafFeatures, FrameworkErrors) {
  const Figure bar{{{0, 0}, {30, 0}, {30, 20}}};
  const struct {
    const char* name;
    std::vector<test::RafShape> shapes;
    Figure figure;
    int status;
  } cases[] = {
      {"raster 50 wide", {{1, 12, 3}}, {{{0, 0}, {49, 10}}}, kRafNotNormalizedX},
      {"raster 49 wide", {{1, 12, 3}}, {{{0, 0}, {48, 10}}}, kOk},
      {"raster 50 high", {{1, 12, 3}}, {{{0, 0}, {10, 49}}}, kRafNotNormalizedY},
      {"six rows", {{1, 12, 6}}, bar, kRafSplitX},
      {"seven rows", {{1, 12, 7}}, bar, kRafSplitY},
      {"one row", {{1, 12, 1}}, bar, kRafSplitY},
      {"no column", {{1, 3, 3}}, bar, kRafSplitX},
      {"code 2", {{1, 12, 3}, {2, 4, 4}}, bar, kRafDescriptionCount},
      {"code 3", {{3, 4, 4}}, bar, kRafDescriptionCount},
      {"code 9", {{9, 4, 4}}, bar, kRafDescriptionCount},
      {"code 15", {{15, 4, 4}}, bar, kRafDescriptionCount},
      {"code 16", {{16, 4, 4}}, bar, kRafDescriptionCount},
      {"code 20", {{20, 4, 4}}, bar, kRafDescriptionCount},
      {"two counters", {{10, 8, 1}, {13, 4, 1}}, bar, kRafTooLittleData},
      {"three counters", {{10, 8, 1}, {13, 4, 1}, {14, 6, 1}}, bar, kOk},
      {"sum block too small", {{7, 10, 1}}, bar, kRafChordBounds},
      {"crossing block too small", {{4, 4, 1}}, bar, kRafChordBounds},
      {"arrangement block", {{14, 5, 2}}, bar, kRafCrossingRasterSize},
  };
  for (const auto& c : cases) {
    DynArray<Raf> rafs;
    for (const test::RafShape& shape : c.shapes) {
      const std::uint16_t offset = rafs.empty() ? 0 : static_cast<std::uint16_t>(rafs.back().end());
      rafs.push_back(Raf{offset, shape.code, shape.nx, shape.ny, 1, 0});
    }
    RafContext context;
    EXPECT_EQ(compute_figure(context, c.figure, RafRun{&rafs}), c.status) << c.name;
  }
}

TEST(RafFeatures, CountersStayInsideTheirBlocks) {
  // "07-SumDug" of one row increments its first counter, then stops.
  const DynArray<Raf> rafs = raf_list({{13, 2, 1}, {7, 10, 1}, {13, 2, 1}});
  RafContext context;
  ASSERT_EQ(compute_figure(context, {{{0, 0}, {20, 0}}}, RafRun{&rafs}), kRafChordBounds);
  EXPECT_EQ(block_values(context, rafs[1]), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(block_values(context, rafs[2]), (std::vector<int>{0, 0}));
  // A vector shorter than the list refuses the counters beyond it.
  const DynArray<Raf> dir4 = raf_list({{1, 12, 3}});
  ASSERT_EQ(context.reset(10), kOk);
  StrokeList strokes(1, true);
  auto stroke = std::make_unique<Stroke>();
  stroke->push_back({0, 0});
  stroke->push_back({30, 30});
  strokes.push_back_owned(std::move(stroke));
  ASSERT_EQ(context.load_strokes(strokes), kOk);
  EXPECT_EQ(compute_rafs(context, dir4, Box16{0, 0, 30, 30}, nullptr, nullptr, false),
            kRafChordBounds);
}

TEST(RafFeatures, EnabledListAndGenericFlagChooseTheFeatures) {
  const DynArray<Raf> rafs =
      raf_list({{1, 12, 3}, {10, 8, 1}, {0, 16, 12}, {5, 12, 3}, {12, 24, 3}});
  const Figure figure{{{0, 0}, {30, 30}, {40, 5}}, {{5, 20}, {25, 40}}};
  DynArray<std::uint16_t> only_first;
  only_first.push_back(0);
  RafContext context;
  ASSERT_EQ(compute_figure(context, figure, RafRun{&rafs, false, nullptr, &only_first}), kOk);
  EXPECT_GT(total(block_values(context, rafs[0])), 0);
  for (std::uint32_t k = 1; k < rafs.size(); ++k)
    EXPECT_EQ(total(block_values(context, rafs[k])), 0);

  DynArray<std::uint16_t> all;
  ASSERT_EQ(compute_figure(context, figure, RafRun{&rafs, false, nullptr, &all}), kOk);
  EXPECT_GT(total(block_values(context, rafs[3])), 0);
  EXPECT_EQ(total(block_values(context, rafs[2])), 0);  // code 0 needs the generic flag

  ASSERT_EQ(compute_figure(context, figure, RafRun{&rafs, true}), kOk);
  for (const std::uint32_t k : {0u, 3u, 4u})
    EXPECT_EQ(total(block_values(context, rafs[k])), 0) << k;
  EXPECT_EQ(total(block_values(context, rafs[2])), 16);  // one class for each coefficient
  EXPECT_EQ(total(block_values(context, rafs[1])), 1);
}

TEST(RafFeatures, TwoPassesAddUpInOneVector) {
  const DynArray<Raf> rafs = raf_list({{1, 12, 3}, {10, 8, 1}, {13, 4, 1}});
  RafContext context;
  ASSERT_EQ(compute_figure(context, {{{0, 0}, {30, 0}}}, RafRun{&rafs}), kOk);
  const std::uint32_t first_pass = context.vector.nonzero.size();
  StrokeList strokes(1, true);
  auto stroke = std::make_unique<Stroke>();
  stroke->push_back({0, 0});
  stroke->push_back({0, 30});
  strokes.push_back_owned(std::move(stroke));
  context.release_work_area();
  ASSERT_EQ(context.load_strokes(strokes), kOk);
  ASSERT_EQ(compute_rafs(context, rafs, Box16{0, 0, 0, 30}, nullptr, nullptr, true), kOk);
  EXPECT_GT(context.vector.nonzero.size(), first_pass);
  // No vertical run in the first pass, one in the second.
  EXPECT_EQ(context.vector.values[rafs[1].offset], 1);
  EXPECT_EQ(context.vector.values[rafs[1].offset + 1], 1);
  EXPECT_EQ(context.work.stroke_runs.size(), 1u);
  for (std::uint32_t k = 1; k < context.vector.nonzero.size(); ++k) {
    EXPECT_LT(context.vector.nonzero[k - 1], context.vector.nonzero[k]);
  }
}

TEST(RafFeatures, PreparingAFigureForgetsTheGridsOfTheOneBefore) {
  const DynArray<Raf> rafs = test::full_raf_list();
  const Figure figure = {{{0, 0}, {10, 40}, {20, 0}, {30, 40}, {40, 0}}};
  RafContext fresh;
  ASSERT_EQ(compute_figure(fresh, figure, RafRun{&rafs}), kOk);

  // A context whose work area still keeps grids of another raster.
  RafContext reused;
  ASSERT_EQ(reused.reset(test::total_cells(rafs)), kOk);
  RafGrid stale;
  stale.columns = 3;
  stale.rows = 3;
  reused.work.grids.keep(stale);
  StrokeList strokes(1, true);
  auto stroke = std::make_unique<Stroke>();
  for (const PackedPoint p : figure[0]) stroke->push_back(p);
  strokes.push_back_owned(std::move(stroke));
  ASSERT_EQ(reused.load_strokes(strokes), kOk);
  ASSERT_EQ(compute_rafs(reused, rafs, strokes_bounding_box(reused.work.strokes), nullptr, nullptr,
                         false),
            kOk);
  for (std::uint32_t i = 0; i < fresh.vector.values.size(); ++i) {
    EXPECT_EQ(reused.vector.values[i], fresh.vector.values[i]) << i;
  }
}

TEST(RafFeatures, CandidateErrorsRejectTheCandidate) {
  for (const int status : {kRafPointOutOfY, kRafChordBounds, kRafTooLittleData, kUndocumented}) {
    EXPECT_EQ(candidate_status_of_features(status), kRejected) << status;
  }
  for (const int status : {kOk, kOutOfMemory, kBadArgument, 4034}) {
    EXPECT_EQ(candidate_status_of_features(status), status);
  }
  EXPECT_EQ(named_raf_feature_count(), 17);
  EXPECT_EQ(std::u16string_view(raf_feature_name(1)), u"01-Dir4");
  EXPECT_EQ(std::u16string_view(raf_feature_name(19)), u"19-TranfCos");
  EXPECT_EQ(raf_feature_name(20), nullptr);
}

}  // namespace
}  // namespace inkrec
