#include "engine/database/etalon_training.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

using Cells = std::vector<std::uint8_t>;
using Hits = std::vector<std::uint16_t>;

Etalon etalon_of(const Cells& cells) {
  Etalon etalon;
  for (const std::uint8_t cell : cells) etalon.cells.push_back(cell);
  compute_etalon_stats(etalon, {});
  return etalon;
}

Cells cells_of(const Etalon& etalon) { return {etalon.cells.begin(), etalon.cells.end()}; }

TEST(EtalonTrainingTest, StepsSpreadByTheirValues) {
  struct Case {
    const char* what;
    Cells cells;
    Hits hits;
    TrainingStep step;
    Cells expected;
  };
  // Levels (value - 32) 0, 2, 4, 8: top is 8.
  const Cells levels = {32, 34, 36, 40};
  const std::vector<Case> cases = {
      {"amount 0", levels, {0, 1}, {0, 1, 1}, levels},
      {"p1 above 9", levels, {0, 1}, {1, 10, 1}, levels},
      {"p2 in 10..100", levels, {0, 1}, {1, 1, 10}, levels},
      {"p1 1 raises every hit", levels, {0, 1, 3}, {2, 1, 1}, {34, 36, 36, 42}},
      // t1 = 8 - 8 / 2 = 4: only hits at level 4 or more.
      {"p1 2 raises strong hits", levels, {0, 2, 3}, {1, 2, 1}, {32, 34, 37, 41}},
      // t2 = 8 / 4 = 2: only hits at level 2 or less.
      {"p2 4 lowers weak hits", levels, {1, 2, 3}, {-1, 1, 4}, {32, 33, 36, 40}},
      // Complement: t1 = 8 - 8 / 1 = 0, so every cell from level 1 outside
      // the hits gains.
      {"complement p2 101", levels, {1}, {-1, 1, 101}, {32, 34, 37, 41}},
      // Complement: q = 2, t1 = 4.
      {"complement p2 102", levels, {3}, {-2, 1, 102}, {32, 34, 38, 40}},
      {"values saturate upward", {250, 40}, {0}, {9, 1, 1}, {255, 40}},
      {"values saturate downward", {3, 40}, {0}, {-9, 1, 1}, {0, 40}},
  };
  for (const Case& c : cases) {
    Etalon etalon = etalon_of(c.cells);
    ASSERT_EQ(check_training_step(c.step), kOk) << c.what;
    ASSERT_EQ(check_hit_list(etalon, c.hits), kOk) << c.what;
    apply_training_step(etalon, c.step, c.hits, {});
    EXPECT_EQ(cells_of(etalon), c.expected) << c.what;
  }
}

TEST(EtalonTrainingTest, StepsAreCountedAndTheStatisticsFollow) {
  Etalon etalon = etalon_of({32, 40, 36});
  const std::uint8_t weights[] = {2, 2, 1};
  apply_training_step(etalon, {3, 1, 1}, Hits{0, 1}, weights);
  EXPECT_EQ(etalon.stats.positive_count, 3);
  EXPECT_EQ(etalon.stats.max_hits, 2);
  EXPECT_EQ(etalon.stats.min_hits, 2);
  apply_training_step(etalon, {-2, 1, 1}, Hits{2}, weights);
  EXPECT_EQ(etalon.stats.negative_count, 2);
  EXPECT_EQ(etalon.stats.min_hits, 2);  // only positive steps count their hits
  // Cells 35, 43, 34: norm = (4 * 9 + 4 * 121 + 1 * 4) / 1024, truncated.
  EXPECT_EQ(cells_of(etalon), (Cells{35, 43, 34}));
  EXPECT_EQ(etalon.stats.norm, 0u);
  EXPECT_EQ(etalon.stats.max_level, 43);
  EXPECT_EQ(etalon.stats.min_level, 34);

  etalon.stats.positive_count = 0xFFFF;
  etalon.stats.negative_count = 0xFFFE;
  apply_training_step(etalon, {5, 1, 1}, Hits{0}, weights);
  apply_training_step(etalon, {-5, 1, 1}, Hits{2}, weights);
  EXPECT_EQ(etalon.stats.positive_count, 0xFFFF);
  EXPECT_EQ(etalon.stats.negative_count, 0xFFFF);

  Etalon heavy = etalon_of({255, 255});
  const std::vector<std::uint8_t> strong(2000, 255);
  compute_etalon_stats(heavy, strong);
  EXPECT_EQ(heavy.stats.norm, static_cast<std::uint32_t>(2.0 * 255 * 255 * 223 * 223 / 1024));
  Etalon heavier = etalon_of(Cells(2000, 255));
  compute_etalon_stats(heavier, strong);
  EXPECT_EQ(heavier.stats.norm, 0xFFFFFFFFu);  // saturated
  Etalon empty;
  compute_etalon_stats(empty, {});
  EXPECT_EQ(empty.stats.norm, 32u);
  EXPECT_EQ(empty.stats.max_level, 32);
  EXPECT_EQ(empty.stats.min_level, 32);
}

TEST(EtalonTrainingTest, BuildHitsRaiseByOneAndSaturate) {
  Etalon etalon = etalon_of({32, 254, 32});
  add_build_hits(etalon, Hits{0, 1});
  add_build_hits(etalon, Hits{1});
  EXPECT_EQ(cells_of(etalon), (Cells{33, 255, 32}));
  EXPECT_EQ(etalon.stats.positive_count, 2);
  EXPECT_EQ(etalon.stats.max_hits, 2);
  EXPECT_EQ(etalon.stats.min_hits, 1);
}

TEST(EtalonTrainingTest, DivisorsAndHitListsAreChecked) {
  struct Case {
    TrainingStep step;
    int expected;
  };
  const std::vector<Case> cases = {
      {{1, 0, 1}, kUndocumented},   // p1 divides
      {{1, 1, 0}, kUndocumented},   // p2 divides
      {{-1, 0, 0}, kUndocumented},  // both would
      {{0, 0, 0}, kOk},             // no step: nothing divides
      {{1, 0, 50}, kOk},            // p2 in 10..100: no step
      {{-1, 0, 101}, kOk},          // complement: divides by p2 - 100
      {{1, -3, -7}, kOk},           // negative values divide well
  };
  for (const Case& c : cases) {
    EXPECT_EQ(check_training_step(c.step), c.expected)
        << c.step.amount << " " << c.step.p1 << " " << c.step.p2;
  }
  const Etalon etalon = etalon_of({32, 32, 32});
  EXPECT_EQ(check_hit_list(etalon, Hits{}), kOk);
  EXPECT_EQ(check_hit_list(etalon, Hits{0, 2}), kOk);
  EXPECT_EQ(check_hit_list(etalon, Hits{3}), kBadArgument);
  EXPECT_EQ(check_hit_list(etalon, Hits{2, 1}), kBadArgument);
  EXPECT_EQ(check_hit_list(etalon, Hits{1, 1}), kBadArgument);
}

}  // namespace
}  // namespace inkrec
