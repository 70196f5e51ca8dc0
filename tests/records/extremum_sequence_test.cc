#include "engine/records/extremum_sequence.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/figure_records.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

using Flags = std::pair<std::uint32_t, int>;  // (point index in the stroke, flags)

constexpr int S = Extremum::kStart;
constexpr int E = Extremum::kEnd;
constexpr int MAX = Extremum::kMaximum;
constexpr int MIN = Extremum::kMinimum;

std::vector<Flags> flags_of(const DynArray<Extremum>& entries) {
  std::vector<Flags> out;
  for (const Extremum& e : entries) out.push_back({e.point_index(), e.flags});
  return out;
}

// Two strokes with their extremum lists: stroke 0 goes down, up, down and
// up again by 20 (turns at points 0, 2, 4, 6); stroke 1 goes steadily down
// by 10 (turns only at its ends).
class SequenceTest : public ::testing::Test {
 protected:
  SequenceTest() {
    for (const std::vector<int>& ys :
         {std::vector<int>{0, 10, 20, 10, 0, 10, 20}, std::vector<int>{0, 2, 4, 6, 8, 10}}) {
      std::vector<PackedPoint> points;
      for (const int y : ys) {
        points.push_back({static_cast<std::int16_t>(5 * points.size() + 100 * strokes_.size()),
                          static_cast<std::int16_t>(y)});
      }
      strokes_.push_back(test::point_records(points));
    }
    for (std::vector<PointRecord>& stroke : strokes_) {
      ExtremumList* list = lists_.push_default();
      find_vertical_extrema(*list, stroke.data(), static_cast<std::int32_t>(stroke.size()), 3);
    }
  }

  // The piece of stroke s from point `first`, `count` points long.
  FigureRecord piece(std::uint16_t s, std::uint16_t first, std::int32_t count) {
    FigureRecord figure;
    figure.stroke_index = s;
    figure.first_point = first;
    figure.run = PointRun{strokes_[s].data() + first, count};
    return figure;
  }

  std::vector<std::vector<PointRecord>> strokes_;
  DynArray<ExtremumList> lists_;
};

TEST_F(SequenceTest, StrokeListsAreAsExpected) {
  EXPECT_EQ(flags_of(lists_[0].entries),
            (std::vector<Flags>{{0, S | MIN}, {2, MAX}, {4, MIN}, {6, E | MAX}}));
  EXPECT_EQ(flags_of(lists_[1].entries), (std::vector<Flags>{{0, S | MIN}, {5, E | MAX}}));
}

TEST_F(SequenceTest, CutsFiguresFromTheirStrokes) {
  struct Case {
    const char* name;
    std::uint16_t stroke, first;
    std::int32_t count;
    std::vector<Flags> expected;
    std::int16_t mean, max;
  };
  const Case cases[] = {
      {"whole stroke", 0, 0, 7, {{0, S | MIN}, {2, MAX}, {4, MIN}, {6, E | MAX}}, 20, 20},
      // Starts between extrema, 10 above the next maximum: a minimum.
      {"piece from between extrema", 0, 1, 4, {{1, MIN}, {2, MAX}, {4, E | MIN}}, 15, 20},
      // Ends between extrema, 10 below the minimum before it: a maximum.
      {"piece to between extrema", 0, 2, 4, {{2, S | MAX}, {4, MIN}, {5, MAX}}, 15, 20},
      // No extremum inside: the ends turn when they lie more than 3 apart.
      {"piece without extrema", 1, 1, 3, {{1, MIN}, {3, MAX}}, 4, 4},
      {"piece too flat to turn", 1, 2, 2, {{2, 0}, {3, 0}}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ExtremumSequence sequence(piece(c.stroke, c.first, c.count), lists_);
    EXPECT_EQ(sequence.status, kOk);
    EXPECT_EQ(flags_of(sequence.entries), c.expected);
    EXPECT_EQ(sequence.mean_height, c.mean);
    EXPECT_EQ(sequence.max_height, c.max);
  }
}

TEST_F(SequenceTest, AMissingListIsReported) {
  EXPECT_EQ(ExtremumSequence().status, ExtremumSequence::kNotFilled);
  const ExtremumSequence sequence(piece(0, 0, 7), DynArray<ExtremumList>());
  EXPECT_EQ(sequence.status, kBadArgument);
  EXPECT_TRUE(sequence.entries.empty());
}

TEST_F(SequenceTest, FiguresFollowOneAnotherWithFlaggedEnds) {
  FigureRecord first = piece(0, 1, 4);
  FigureRecord second = piece(1, 0, 6);
  FigureRecord* const figures[] = {&first, &second};
  const ExtremumSequence sequence = ExtremumSequence::from_strokes(figures, lists_);
  EXPECT_EQ(sequence.status, kOk);
  EXPECT_EQ(flags_of(sequence.entries),
            (std::vector<Flags>{{1, S | MIN}, {2, MAX}, {4, E | MIN}, {0, S | MIN}, {5, E | MAX}}));
  // The turning entries run on across the figures: 10, 20, 0, 10.
  EXPECT_EQ(sequence.mean_height, 13);
  EXPECT_EQ(sequence.max_height, 20);

  FigureRecord* const broken[] = {&first, nullptr, &second};
  const ExtremumSequence partial = ExtremumSequence::from_strokes(broken, lists_);
  EXPECT_EQ(partial.status, kBadArgument);
  EXPECT_EQ(partial.entries.size(), 3u);
}

// A filled sequence of turning entries at the given (flags, y).
ExtremumSequence sequence_of(const std::vector<std::pair<int, int>>& turns) {
  ExtremumSequence sequence;
  sequence.status = kOk;
  for (const auto& [flags, y] : turns) {
    Extremum e;
    e.point.y = static_cast<std::int16_t>(y);
    e.flags = static_cast<std::uint8_t>(flags);
    sequence.entries.push_back(e);
  }
  return sequence;
}

std::vector<std::int32_t> profile_of(const ExtremumSequence& sequence) {
  DynArray<std::int32_t> heights;
  EXPECT_EQ(extrema_profile(sequence, heights), kOk);
  return {heights.begin(), heights.end()};
}

TEST(ExtremaProfileTest, MeasuresAlternatingTurnsAndDropsDips) {
  // Heights 5, 2, 5: the 2 is a dip.
  EXPECT_EQ(profile_of(sequence_of({{S | MIN, 0}, {MAX, 5}, {MIN, 3}, {E | MAX, 8}})),
            (std::vector<std::int32_t>{5, 0, 5}));
  // Heights 3, 3 both stay.
  EXPECT_EQ(profile_of(sequence_of({{S | MIN, 0}, {MAX, 3}, {E | MIN, 0}})),
            (std::vector<std::int32_t>{3, 3}));
  // Heights at the ends have one neighbour: of 4 and 9 the 4 is a dip.
  EXPECT_EQ(profile_of(sequence_of({{S | MIN, 0}, {MAX, 4}, {E | MIN, -5}})),
            (std::vector<std::int32_t>{0, 9}));
  // A second maximum in a row ends no height but becomes the reference;
  // an entry that does not turn is passed over.
  EXPECT_EQ(
      profile_of(sequence_of({{S | MIN, 0}, {MAX, 6}, {0, 9}, {MAX, 7}, {MIN, 1}, {E | MAX, 7}})),
      (std::vector<std::int32_t>{6, 6, 6}));
  // Each stroke's start sets the reference afresh.
  EXPECT_EQ(profile_of(sequence_of({{S | MIN, 0}, {E | MAX, 10}, {S | MAX, 30}, {E | MIN, 20}})),
            (std::vector<std::int32_t>{10, 10}));

  DynArray<std::int32_t> heights;
  EXPECT_EQ(extrema_profile(ExtremumSequence(), heights), kBadArgument);
}

}  // namespace
}  // namespace inkrec
