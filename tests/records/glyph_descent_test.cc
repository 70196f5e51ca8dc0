#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/glyph_direction.h"
#include "engine/records/glyph_geometry.h"
#include "tests/support/figure_ink.h"

namespace inkrec {
namespace {

using test::Figure;
using test::Points;
using test::polyline;

std::vector<std::uint32_t> indices(const DynArray<std::uint32_t>& list) {
  return {list.begin(), list.end()};
}

using List = std::vector<std::uint32_t>;

// The descent block of a figure for letters of size r, closeness s.
struct Descent {
  Descent(const std::vector<Points>& strokes, int r, int s) : figure(strokes) {
    block = &figure.glyph().ensure_block_d(figure.runs(), r, s);
  }

  Figure figure;
  const DescentBlock* block = nullptr;
};

TEST(DescentBlockTest, OneDownStrokeIsOneOrdinaryEntry) {
  Descent d({polyline({{0, 0}, {0, 100}})}, 100, 20);
  const DescentBlock& block = *d.block;
  ASSERT_EQ(block.entries.size(), 1u);
  const DescentEntry& e = block.entries[0];
  EXPECT_EQ(e.start, 0);
  EXPECT_EQ(e.end, 10);
  EXPECT_EQ(e.mean_direction, 90);
  EXPECT_EQ(e.least_direction, 90);
  EXPECT_EQ(e.greatest_direction, 90);
  EXPECT_EQ(e.initial_direction, 90);
  EXPECT_EQ(e.weight, 100);
  EXPECT_EQ(e.spread, 0);
  EXPECT_EQ(block.descending_runs, 1);
  EXPECT_EQ(block.ordinary_count, 1);
  EXPECT_TRUE(block.close_entries.empty());
  EXPECT_TRUE(block.high_last_entries.empty());
  // It fills the whole height: both halves.
  EXPECT_EQ(block.upper_mask, 1);
  EXPECT_EQ(block.lower_mask, 1);
}

TEST(DescentBlockTest, ShortDescentsCountButMakeNoEntry) {
  Descent d({polyline({{0, 0}, {10, 20}, {20, 0}, {30, 100}})}, 100, 20);
  EXPECT_EQ(d.block->descending_runs, 2);
  ASSERT_EQ(d.block->entries.size(), 1u);
  EXPECT_EQ(d.block->entries[0].start, 4);
}

TEST(DescentBlockTest, DescentsAcrossAShortGapAreJoined) {
  // Down 50, up 2, down 50: the gap of 2 is within 60 / 6.
  Descent d({{{0, 0}, {0, 50}, {0, 48}, {0, 98}}}, 60, 10);
  ASSERT_EQ(d.block->entries.size(), 1u);
  const DescentEntry& e = d.block->entries[0];
  EXPECT_EQ(e.start, 0);
  EXPECT_EQ(e.end, 3);
  EXPECT_EQ(e.weight, 50 + 50 + 2);
  EXPECT_EQ(d.block->descending_runs, 2);
}

TEST(DescentBlockTest, CloseNeighboursListOneOfThePair) {
  // Two parallel down strokes 6 apart: the second is listed.
  Descent same({polyline({{0, 0}, {0, 100}, {6, 0}, {6, 100}})}, 100, 20);
  EXPECT_EQ(indices(same.block->close_entries), (List{1}));
  EXPECT_EQ(same.block->ordinary_count, 1);
  // When the second is more than half again as tall, the first is.
  Descent taller({polyline({{0, 0}, {0, 60}, {6, 0}, {6, 100}})}, 100, 20);
  EXPECT_EQ(indices(taller.block->close_entries), (List{0}));
  // The first ordinary entry passes over a listed one.
  EXPECT_EQ(same.figure.glyph().first_unclassified_entry(), &same.block->entries[0]);
  EXPECT_EQ(taller.figure.glyph().first_unclassified_entry(), &taller.block->entries[1]);
  // Without common rows a pair is close when an end lies near the other
  // entry's start.
  Descent apart({{{0, 0}, {0, 50}, {3, -30}, {3, -5}}}, 60, 10);
  EXPECT_EQ(indices(apart.block->close_entries), (List{1}));
}

TEST(DescentBlockTest, TurnedShortAndHighLastEntries) {
  // A down stroke, then a flat descent to the right beside it: turned.
  Descent flat({{{0, 0}, {0, 90}, {2, 10}, {42, 50}}}, 60, 10);
  EXPECT_EQ(indices(flat.block->turned_entries), (List{1}));
  EXPECT_TRUE(flat.block->close_entries.empty());

  // A small last descent high beside a long one: short.
  Descent small({{{0, 0}, {0, 80}, {30, 10}, {30, 35}}}, 60, 10);
  EXPECT_EQ(indices(small.block->short_entries), (List{1}));
  EXPECT_TRUE(small.block->high_last_entries.empty());

  // A last descent standing above every other entry: high last.
  Descent high({{{0, 50}, {0, 150}, {40, 0}, {40, 25}}}, 60, 10);
  EXPECT_EQ(indices(high.block->high_last_entries), (List{1}));
  EXPECT_TRUE(high.block->short_entries.empty());
  EXPECT_EQ(high.block->ordinary_count, 1);
}

TEST(DescentBlockTest, OrdinaryEntriesAreMarkedUpperOrLower) {
  // A full-height stroke, a short one at the top and one at the bottom.
  Descent d({polyline({{0, 0}, {0, 150}}), polyline({{30, 0}, {30, 40}}),
             polyline({{60, 110}, {60, 150}})},
            60, 10);
  EXPECT_EQ(d.block->ordinary_count, 3);
  EXPECT_EQ(d.block->upper_mask, 0b011);
  EXPECT_EQ(d.block->lower_mask, 0b101);

  // Only the first eight ordinary entries are marked.
  std::vector<Points> strokes;
  for (int i = 0; i < 10; ++i) {
    strokes.push_back(polyline(
        {{static_cast<std::int16_t>(100 * i), 0}, {static_cast<std::int16_t>(100 * i), 40}}));
  }
  Descent many(strokes, 60, 10);
  EXPECT_EQ(many.block->ordinary_count, 10);
  EXPECT_EQ(many.block->upper_mask, 0xFF);
  EXPECT_EQ(many.block->lower_mask, 0xFF);
}

TEST(DescentBlockTest, RunsOfOnePointHaveNoDescent) {
  Descent d({{{5, 5}}}, 60, 10);
  EXPECT_TRUE(d.figure.glyph().descent_ready());
  EXPECT_TRUE(d.block->entries.empty());
  EXPECT_EQ(d.block->descending_runs, 0);
  EXPECT_EQ(d.block->ordinary_count, 0);
}

}  // namespace
}  // namespace inkrec
