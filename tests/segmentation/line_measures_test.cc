// The records and measures of the line pass: stroke intake, height
// statistics, the mean slant, the pair tables and the link scores.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/recognition_context.h"
#include "engine/segmentation/line_grouping.h"
#include "engine/segmentation/line_merging.h"
#include "engine/segmentation/line_set.h"
#include "engine/segmentation/line_statistics.h"
#include "engine/segmentation/link_scores.h"
#include "engine/segmentation/pair_measures.h"
#include "engine/segmentation/stroke_intake.h"
#include "tests/support/ink_samples.h"
#include "tests/support/split_ink.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::InkStroke;

std::vector<PointRecord> records_of(const InkStroke& stroke) {
  std::vector<PointRecord> records;
  for (const PackedPoint p : stroke) {
    records.push_back(PointRecord{p, TrajectoryRecord(static_cast<std::uint16_t>(records.size()))});
  }
  return records;
}

InkStroke vertical(int x, int top, int height) {
  InkStroke stroke;
  for (int y = top; y < top + height; y += 2) {
    stroke.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
  }
  stroke.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(top + height - 1)});
  return stroke;
}

class LineMeasuresTest : public ::testing::Test {
 protected:
  RecognitionContext context() { return bench_.context(); }
  LineWork& work() { return bench_.work(); }
  void set_params(const RecognitionParams& params) { bench_.kernel().set_params(params); }

  int add(RecognitionContext& c, const Ink& ink, const ReferenceBand& band = {}) {
    for (const InkStroke& stroke : ink) {
      const std::vector<PointRecord> points = records_of(stroke);
      if (const int status = add_figure_to_pane(c, points, band); status != kOk) return status;
    }
    return kOk;
  }

  testing::SplitBench bench_;
};

TEST_F(LineMeasuresTest, StrokesAreTakenInOverCopiesOfTheirPoints) {
  RecognitionContext c = context();
  const std::vector<PointRecord> points = records_of(vertical(100, 100, 40));
  ASSERT_EQ(add_figure_to_pane(c, points, {}), kOk);
  ASSERT_EQ(add_figure_to_pane(c, points, {}), kOk);
  ASSERT_EQ(work().strokes.size(), 2u);
  ASSERT_EQ(work().point_runs.size(), 2u);
  for (std::uint16_t s = 0; s < 2; ++s) {
    const StrokeRecord& record = work().strokes[s];
    EXPECT_EQ(record.number, s);
    EXPECT_EQ(record.line_index, 0xFFFF);
    EXPECT_EQ(record.run.points, work().point_runs[s]->data());
    EXPECT_EQ(record.run.count, static_cast<std::int32_t>(points.size()));
    EXPECT_EQ(record.geometry.bounding_box(), (Box16{100, 100, 100, 139}));
  }
}

// With the caller's base lines asked for, a stroke without both values is
// refused after its record was added and prepared; with both it keeps them.
TEST_F(LineMeasuresTest, BaseLinesMustBeGivenWhenAskedFor) {
  RecognitionParams params;
  params.caller_base_lines = 1;
  set_params(params);
  RecognitionContext c = context();
  const Ink stem = {vertical(100, 100, 40)};
  EXPECT_EQ(add(c, stem, ReferenceBand{-1, 140, 0}), kNoBaselines);
  ASSERT_EQ(work().strokes.size(), 1u);
  EXPECT_EQ(work().strokes[0].geometry.bounding_box().height(), 40);
  ASSERT_EQ(add(c, stem, ReferenceBand{100, 140, 1}), kOk);
  const ReferenceBand& band = work().strokes[1].geometry.reference_band();
  EXPECT_EQ(band.top, 100);
  EXPECT_EQ(band.bottom, 140);
  EXPECT_EQ(band.is_set, 1);
}

TEST_F(LineMeasuresTest, HeightStatistics) {
  struct Case {
    std::vector<int> heights;
    int mean, small, tall;
  };
  const Case cases[] = {
      {{5, 5, 5}, 11, 33, 52},             // all raised to their least values
      {{10, 20, 30, 100}, 40, 33, 100},    // no height above the tall mean: the tall mean
      {{60, 60, 200, 400}, 180, 60, 400},  // small between 36 and 180; tall above 300
      {{}, 11, 0, 0},
  };
  for (const Case& k : cases) {
    work().clear();
    RecognitionContext c = context();
    Ink ink;
    for (std::size_t i = 0; i < k.heights.size(); ++i) {
      ink.push_back(vertical(100 + 50 * static_cast<int>(i), 100, k.heights[i]));
    }
    ASSERT_EQ(add(c, ink), kOk);
    ASSERT_EQ(measure_height_statistics(c), kOk);
    EXPECT_EQ(c.statistics().mean_height, k.mean) << k.heights.size();
    EXPECT_EQ(c.statistics().small_height, k.small) << k.heights.size();
    EXPECT_EQ(c.statistics().tall_height, k.tall) << k.heights.size();
  }
}

// The slant is the weighted mean of the strokes' slant measures; strokes
// measuring 0 do not count, and counted strokes without weight give 0
// instead of a division by zero.
TEST_F(LineMeasuresTest, MeanSlantOfTheStrokes) {
  struct Case {
    std::vector<std::pair<int, int>> measures;  // slant measure, weight
    int slant;
  };
  const Case cases[] = {
      {{{80, 10}, {100, 30}}, 95},
      {{{0, 50}, {90, 10}}, 90},
      {{{0, 5}, {0, 9}}, 0},
      {{{85, 0}, {70, 0}}, 0},
      {{}, 0},
  };
  for (const Case& k : cases) {
    work().clear();
    for (const auto& [measure, weight] : k.measures) {
      StrokeRecord* s = work().strokes.push_default();
      ASSERT_NE(s, nullptr);
      s->geometry.direction.vertical_direction = static_cast<std::int16_t>(measure);
      s->geometry.direction.vertical_weight = static_cast<std::int16_t>(weight);
    }
    RecognitionContext c = context();
    ASSERT_EQ(line_mean_metric(c), kOk);
    EXPECT_EQ(c.settings().slant_angle, k.slant);
  }
}

// A letter height of 0 scores the pairs as a height of 1 does.
TEST_F(LineMeasuresTest, ALetterHeightOfZeroScoresAsOne) {
  const Ink ink = {vertical(100, 100, 1), vertical(104, 100, 1), vertical(200, 140, 1)};
  std::vector<std::uint16_t> costs[2];
  for (const int h : {0, 1}) {
    work().clear();
    RecognitionContext c = context();
    ASSERT_EQ(add(c, ink), kOk);
    ASSERT_EQ(reserve_stroke_pairs(c, 3), kOk);
    for (std::uint32_t i = 1; i < 3; ++i) {
      for (std::uint32_t j = 0; j < i; ++j) ASSERT_EQ(measure_stroke_pair(c, j, i, true), kOk);
    }
    c.settings().letter_height = static_cast<std::int16_t>(h);
    ASSERT_EQ(compute_link_scores(c), kOk);
    for (const PairMetrics& e : work().stroke_pairs.entries()) costs[h].push_back(e.link_cost);
  }
  EXPECT_EQ(costs[0], costs[1]);
  EXPECT_GT(costs[0][0], costs[0][1]);  // the touching pair links better than the far one
}

// Without the body-and-link split the figure pairs are the stroke pairs;
// with it, two bodies of one stroke with one link between them have no
// link distance, and a pair on one line names it.
TEST_F(LineMeasuresTest, FigurePairs) {
  RecognitionContext c = context();
  const Ink ink = {vertical(100, 100, 40), vertical(130, 100, 40), vertical(300, 300, 40)};
  ASSERT_EQ(add(c, ink), kOk);
  ASSERT_EQ(reserve_stroke_pairs(c, 3), kOk);
  ASSERT_EQ(analyse_line_set(c, true), kOk);
  RecognitionParams params = bench_.kernel().params();
  params.cursive_split = 0;
  set_params(params);
  ASSERT_EQ(apply_baselines_to_figures(c), kOk);
  const DynArray<PairMetrics>& strokes = work().stroke_pairs.entries();
  const DynArray<PairMetrics>& figures = work().figure_pairs.entries();
  EXPECT_EQ(work().figure_pairs.figure_count(), 3u);
  ASSERT_EQ(figures.size(), strokes.size());
  EXPECT_EQ(std::memcmp(figures.data(), strokes.data(), strokes.size() * sizeof(PairMetrics)), 0);

  params.cursive_split = 1;
  set_params(params);
  for (std::uint16_t piece : {0, 2}) {
    FigureRecord* body = work().bodies.push_default();
    ASSERT_EQ(body->from_stroke(work().strokes[0]), kOk);
    body->piece = piece;
    body->piece_key = piece;
  }
  FigureRecord* other = work().bodies.push_default();
  ASSERT_EQ(other->from_stroke(work().strokes[1]), kOk);
  ASSERT_EQ(work().figure_pairs.reserve(3), kOk);
  ASSERT_EQ(apply_baselines_to_figures(c), kOk);
  EXPECT_EQ(work().figure_pairs.at(0, 1)->link_distance, -1);
  const PairMetrics* beside = work().figure_pairs.at(0, 2);
  EXPECT_EQ(beside->link_distance, beside->pair_value());
  EXPECT_EQ(shared_line(*beside), work().strokes[0].line_index == work().strokes[1].line_index
                              ? static_cast<std::int16_t>(work().strokes[0].line_index)
                              : -1);
  EXPECT_EQ(beside->left_index, 0);
  EXPECT_EQ(beside->right_index, 2);
}

// Merging a line closes the gap: the later lines' ids and their strokes'
// line indices move down by one, and the merged strokes stay sorted.
TEST_F(LineMeasuresTest, MergingLinesKeepsIndicesAndIdsTogether) {
  RecognitionContext c = context();
  const Ink ink = testing::join(testing::join(testing::write_line({.y = 1000}),
                                              testing::write_line({.y = 1200})),
                                testing::write_line({.y = 1400}));
  ASSERT_EQ(add(c, ink), kOk);
  ASSERT_EQ(reserve_stroke_pairs(c, 9), kOk);
  ASSERT_EQ(analyse_line_set(c, true), kOk);
  ASSERT_EQ(work().text_lines.size(), 3u);
  LineSet lines(c);
  ASSERT_EQ(lines.merge_lines(0, 2), kOk);
  ASSERT_EQ(work().text_lines.size(), 2u);
  const std::vector<int> expected = {1, 1, 1, 0, 0, 0, 1, 1, 1};
  for (std::uint32_t s = 0; s < 9; ++s) EXPECT_EQ(work().strokes[s].line_index, expected[s]);
  EXPECT_EQ(std::vector<std::uint16_t>(work().text_lines[1].strokes.begin(),
                                       work().text_lines[1].strokes.end()),
            (std::vector<std::uint16_t>{0, 1, 2, 6, 7, 8}));
  EXPECT_EQ(work().text_lines[0].id + 1, work().text_lines[1].id);
  EXPECT_EQ(lines.merge_lines(1, 1), kOk);
  EXPECT_EQ(lines.merge_lines(2, 0), kBadArgument);
}

// A stroke without a line (65535) never reads as a line: a line whose
// writing neighbours have none is left alone.
TEST_F(LineMeasuresTest, AStrokeWithoutALineIsNoNeighbour) {
  RecognitionContext c = context();
  const Ink ink = {vertical(100, 100, 40), vertical(110, 60, 10), vertical(120, 100, 40)};
  ASSERT_EQ(add(c, ink), kOk);
  ASSERT_EQ(reserve_stroke_pairs(c, 3), kOk);
  ASSERT_EQ(analyse_line_set(c, true), kOk);
  work().text_lines.clear();
  for (StrokeRecord& s : work().strokes) s.line_index = 0xFFFF;
  LineSet lines(c);
  ASSERT_EQ(lines.open_line(1), kOk);
  ASSERT_EQ(run_merging_passes(lines), kOk);
  EXPECT_EQ(work().text_lines.size(), 1u);
  EXPECT_EQ(lines.line_of(0), -1);
  EXPECT_EQ(lines.line_of(1), 0);
  EXPECT_EQ(lines.line_of(2), -1);
}

}  // namespace
}  // namespace inkrec
