#include "engine/rules/pair_extents.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::DrawnGroup;
using test::Points;
using test::polyline;

// A drawn result with an id.
struct Element {
  Element(std::int32_t id, const std::vector<Points>& strokes) : ink(strokes) {
    ink.group().index = id;
  }
  FigureGroup& group() { return ink.group(); }
  DrawnGroup ink;
};

PairExtents extents_of(Element& owner, Element& other, std::int32_t size) {
  const PairExtents* out = nullptr;
  EXPECT_EQ(score_pair_extents_cached(owner.group(), other.group(), size, &out), kOk);
  return out == nullptr ? PairExtents{} : *out;
}

TEST(PairExtentsTest, BoxesWithoutCommonRowsKeepTheStartingValues) {
  Element owner(1, {polyline({{20, 0}, {20, 50}})});
  Element other(2, {polyline({{60, 100}, {60, 150}})});
  const PairExtents e = extents_of(owner, other, 100);
  EXPECT_EQ(e.computed, 1);
  EXPECT_EQ(e.mean_left_offset, 0);
  EXPECT_EQ(e.mean_right_offset, 0);
  EXPECT_EQ(e.mean_span, 0);
  EXPECT_EQ(e.mean_gap, 0);
  EXPECT_EQ(e.overlap_rows, 0);
  EXPECT_EQ(e.first_overlap_row, 100);  // the lower limit: the greater top
  EXPECT_EQ(e.first_near_row, 100);
  EXPECT_EQ(e.owner_right_at_overlap, 20);  // the owner's left edge
  EXPECT_EQ(e.last_near_row, 50);           // the upper limit: the lesser bottom
}

TEST(PairExtentsTest, ASingleCommonRowIsDividedByTwo) {
  Element owner(1, {polyline({{0, 0}, {0, 100}})});
  Element other(2, {polyline({{50, 99}, {50, 200}})});
  const PairExtents e = extents_of(owner, other, 100);
  // Row 99 alone is read: every difference is 50, and the sums are halved.
  EXPECT_EQ(e.mean_left_offset, 25);
  EXPECT_EQ(e.mean_right_offset, 25);
  EXPECT_EQ(e.mean_span, 25);
  EXPECT_EQ(e.mean_gap, 25);
  EXPECT_EQ(e.overlap_rows, 0);
}

TEST(PairExtentsTest, TheOverlapAndTheNearRowsAreWhereTheInkMeets) {
  // The other runs from (100, 0) down to (0, 100) past the owner's stem at
  // x = 50: it is left of the stem from row 51 and within a tenth of the
  // size (10) of it from row 41; rows 0..99 are read.
  Element owner(1, {polyline({{50, 0}, {50, 100}})});
  Element other(2, {polyline({{100, 0}, {0, 100}})});
  const PairExtents e = extents_of(owner, other, 100);
  EXPECT_EQ(e.overlap_rows, 49);
  EXPECT_EQ(e.first_overlap_row, 51);
  EXPECT_EQ(e.owner_right_at_overlap, 50);
  EXPECT_EQ(e.first_near_row, 41);
  EXPECT_EQ(e.last_near_row, 99);
  // Sum over y = 0..99 of (100 - y) - 50 is 50, divided by 101 rows.
  EXPECT_EQ(e.mean_gap, 0);
  EXPECT_EQ(e.mean_left_offset, 0);
}

TEST(PairExtentsTest, EachOrderOfAPairHasItsOwnEntryWithMirroredMeans) {
  Element o(1, {polyline({{20, 0}, {20, 100}})});
  Element t(2, {polyline({{65, 30}, {65, 150}})});
  const PairExtents ot = extents_of(o, t, 100);
  const PairExtents to = extents_of(t, o, 100);
  EXPECT_EQ(o.group().extents_cache.size(), 1u);
  EXPECT_EQ(t.group().extents_cache.size(), 1u);
  EXPECT_EQ(o.group().extents_cache[0].other, 2u);
  EXPECT_EQ(t.group().extents_cache[0].other, 1u);
  // Rows 30..99 read, 71 counted: 70 * 45 / 71.
  EXPECT_EQ(ot.mean_left_offset, 44);
  EXPECT_EQ(to.mean_left_offset, -44);
  EXPECT_EQ(to.mean_right_offset, -ot.mean_right_offset);
  EXPECT_EQ(to.mean_span, -ot.mean_gap);
  EXPECT_EQ(to.mean_gap, -ot.mean_span);
}

TEST(PairExtentsTest, TheFirstRequestsSizeHoldsForLaterRequests) {
  // 40 apart: near for a size of 1000 (a tenth is 100), not for 100.
  Element o(1, {polyline({{20, 0}, {20, 100}})});
  Element t(2, {polyline({{60, 0}, {60, 100}})});
  Element fresh(3, {polyline({{20, 0}, {20, 100}})});
  const PairExtents small = extents_of(o, t, 100);
  const PairExtents again = extents_of(o, t, 1000);
  const PairExtents large = extents_of(fresh, t, 1000);
  EXPECT_EQ(small.first_near_row, 0);
  EXPECT_EQ(small.last_near_row, 100);  // no near row: the starting value
  EXPECT_EQ(again.last_near_row, 100);
  EXPECT_EQ(o.group().extents_cache.size(), 1u);
  EXPECT_EQ(large.last_near_row, 99);  // the size would have mattered
}

TEST(PairExtentsTest, AResultWithoutFiguresIsRefused) {
  Element o(1, {polyline({{20, 0}, {20, 100}})});
  FigureGroup empty;
  const PairExtents* out = nullptr;
  EXPECT_EQ(score_pair_extents_cached(o.group(), empty, 100, &out), kBadArgument);
  EXPECT_EQ(score_pair_extents_cached(empty, o.group(), 100, &out), kBadArgument);
  EXPECT_EQ(out, nullptr);
  EXPECT_TRUE(o.group().extents_cache.empty());
}

}  // namespace
}  // namespace inkrec
