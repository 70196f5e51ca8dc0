#include "engine/segmentation/reading_totals.h"

#include <gtest/gtest.h>

namespace inkrec {
namespace {

TEST(ReadingTotalsTest, ALettersTotalIsHeldWithinTheListsRange) {
  struct Case {
    std::int32_t score;
    std::int32_t penalty;
    std::int32_t total;
  };
  const Case cases[] = {
      {10000, 0, 10000}, {10400, -400, 10000}, {10001, 0, 9998}, {9500, 600, 9998},
      {500, -500, 0},    {500, -501, 3},       {0, -3000, 3},    {7000, -1200, 5800},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(held_letter_score(c.score, c.penalty) + c.penalty, c.total)
        << c.score << " " << c.penalty;
  }
}

TEST(ReadingTotalsTest, AMarksBaseHoldsItsTotalAndWeakMarksGo) {
  EXPECT_EQ(held_mark_base(-1000), 8200);
  EXPECT_EQ(held_mark_base(-8200), 8200);          // a total of 0 stays
  EXPECT_EQ(held_mark_base(-9000) + -9000, 2);     // negative: 2
  EXPECT_EQ(held_mark_base(1800), 8200);           // exactly 10000 stays
  EXPECT_EQ(held_mark_base(1801) + 1801, 8651);    // above: 8651
  EXPECT_TRUE(weak_mark_dropped(4999, 5899));
  EXPECT_FALSE(weak_mark_dropped(4999, 5898));
  EXPECT_FALSE(weak_mark_dropped(5000, 9000));
  EXPECT_FALSE(weak_mark_dropped(100, 0));  // the first of its list
}

}  // namespace
}  // namespace inkrec
