#include "engine/database/etalon_score.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/analysis/figure_rafs.h"
#include "engine/database/etalon_training.h"
#include "engine/foundation/status.h"
#include "tests/support/figure_ink.h"
#include "tests/support/letter_shapes.h"
#include "tests/support/raf_figures.h"

namespace inkrec {
namespace {

using Cells = std::vector<std::uint16_t>;
using Bytes = std::vector<std::uint8_t>;

TEST(EtalonScoreTest, SimilaritySumsTrainedCellsAndChargesUntrainedOnes) {
  struct Case {
    const char* what;
    Cells inked;
    Bytes levels;  // cell bytes: level + 32
    Bytes weights;
    std::int64_t similarity;
  };
  const Case cases[] = {
      {"no inked cells", {}, {40, 40}, {32, 32}, 0},
      {"two trained cells", {0, 1}, {33, 34, 32}, {32, 32, 32}, (32 + 64) / 32},
      {"cells not listed do not count", {1}, {60, 34, 60}, {32, 32, 32}, 2},
      {"four untrained cells cost nothing", {0, 1, 2, 3}, {32, 32, 32, 32}, {9, 9, 9, 9}, 0},
      {"the fifth costs one", {0, 1, 2, 3, 4}, {32, 32, 32, 32, 32}, {9, 9, 9, 9, 9}, -1},
      {"a zero weight is an untrained cell",
       {0, 1, 2, 3, 4},
       {40, 40, 40, 40, 40},
       {0, 0, 0, 0, 0},
       -1},
      {"a negative sum truncates toward zero", {0}, {31}, {31}, 0},  // -31 / 32
      {"two negative levels", {0, 1}, {31, 31}, {40, 40}, -80 / 32},
      {"small weights vanish in the sum's truncation", {0}, {33}, {31}, 0},
      {"and add up across cells", {0, 1, 2}, {33, 33, 33}, {31, 31, 31}, 93 / 32},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(raf_similarity(c.inked, c.levels, c.weights), c.similarity) << c.what;
  }
}

TEST(EtalonScoreTest, CellCountCorrectionStartsOneCellPastEachBound) {
  struct Case {
    std::int32_t inked;
    std::int16_t longest;
    std::int16_t shortest;
    std::int64_t corrected;
  };
  const Case cases[] = {
      {50, 40, 40, 50},                              // exactly 5d/4: no correction
      {51, 40, 40, 51 + 9},                          // one cell more adds 9 times the excess
      {60, 40, 40, 60 + 9 * 10},                     //
      {40, 50, 50, 40},                              // exactly 4e/5
      {39, 50, 50, 39 + 5},                          // one cell fewer adds 5 times the shortfall
      {0, 50, 50, 0 + 5 * 40},                       //
      {45, 40, 50, 45},                              // between both bounds
      {30000, 100, 100, 30000 + 9 * (30000 - 125)},  // no 16-bit wrap of the excess
      {60000, 10, 10, 60000 + 9 * (60000 - 12)},     // a count past 32767 still corrects
      {100, 0, 10000, 100 + 9 * 100},                // untrained bounds (0, 10000): too many wins
  };
  for (const Case& c : cases) {
    EXPECT_EQ(corrected_cell_count(c.inked, c.longest, c.shortest), c.corrected)
        << c.inked << " " << c.longest << " " << c.shortest;
  }
}

TEST(EtalonScoreTest, ScoreNormalisesBy64BitRoot) {
  struct Case {
    std::int64_t similarity;
    std::int32_t inked;
    std::uint32_t norm;
    std::int32_t score;
  };
  const Case cases[] = {
      {500, 0, 900, 0},                    // no inked cells
      {500, 20, 0, 0},                     // an etalon without norm
      {300, 100, 900, 300 * 10000 / 300},  // root(100 * 900) = 300
      {-300, 100, 900, -10000},            // a negative similarity stays negative
      {250, 100, 900, 250 * 10000 / 300},  // truncates
      // L * N past 2^31: a 32-bit product would wrap to a negative root.
      // root(40000 * 4e9) = root(1.6e14) = 12649111 (rounded).
      {2000000, 40000, 4000000000u, static_cast<std::int32_t>(2000000LL * 10000 / 12649111)},
      // S * 10000 past 2^31.
      {5000000, 100, 1000, static_cast<std::int32_t>(5000000LL * 10000 / 316)},
  };
  for (const Case& c : cases) {
    std::int32_t score = -7;
    ASSERT_EQ(etalon_score(c.similarity, c.inked, c.norm, 32767, 0, &score), kOk);
    EXPECT_EQ(score, c.score) << c.similarity << " " << c.inked << " " << c.norm;
  }
}

TEST(EtalonScoreTest, CellsOutsideTheEtalonAreABadArgument) {
  Etalon etalon;
  ASSERT_EQ(etalon.cells.resize(4, 40), kOk);
  etalon.stats.norm = 100;
  const Bytes weights = {32, 32, 32, 32, 32, 32};
  std::int32_t score = -7;
  const Cells beyond_etalon = {1, 4};
  EXPECT_EQ(score_against_etalon(beyond_etalon, etalon, weights, &score), kBadArgument);
  const Cells beyond_weights = {1, 3};
  EXPECT_EQ(score_against_etalon(beyond_weights, etalon, Bytes{32, 32, 32}, &score), kBadArgument);
  EXPECT_EQ(score, -7);
  const Cells inside = {0, 3};
  EXPECT_EQ(score_against_etalon(inside, etalon, weights, &score), kOk);
  EXPECT_GT(score, 0);
}

// A figure's feature cells against an etalon trained from one figure, on a
// Raf table whose cells weigh 40.
class TrainedEtalonTest : public ::testing::Test {
 protected:
  TrainedEtalonTest() : rafs_(test::full_raf_list()) {
    for (Raf& raf : rafs_) raf.ves = 40;
    weights_.assign(test::total_cells(rafs_), 40);
  }

  Cells cells_of(const std::vector<test::Points>& strokes) {
    test::Figure figure(strokes);
    EXPECT_EQ(figure.status(), kOk);
    EXPECT_EQ(compute_figure_rafs_afresh(context_, test::total_cells(rafs_), rafs_, figure.runs(),
                                         FigureRafOptions{}),
              kOk);
    const auto& nonzero = context_.vector.nonzero;
    return Cells(nonzero.begin(), nonzero.end());
  }

  Etalon trained_from(const Cells& hits) {
    Etalon etalon;
    EXPECT_EQ(etalon.cells.resize(test::total_cells(rafs_), kCellLevelZero), kOk);
    add_build_hits(etalon, hits);
    compute_etalon_stats(etalon, weights_);
    return etalon;
  }

  std::int32_t score(const Cells& cells, const Etalon& etalon) {
    std::int32_t value = 0;
    EXPECT_EQ(score_against_etalon(cells, etalon, weights_, &value), kOk);
    return value;
  }

  DynArray<Raf> rafs_;
  Bytes weights_;
  RafContext context_;
};

TEST_F(TrainedEtalonTest, TheTrainingFigureScoresBestAndDistortionsLowerIt) {
  const Cells own = cells_of(test::letter_strokes('N'));
  ASSERT_GE(own.size(), 3u);
  const Etalon etalon = trained_from(own);
  const std::int32_t best = score(own, etalon);
  EXPECT_GE(best, 9900);
  EXPECT_LE(best, 10000);

  // The same figure elsewhere on the tablet normalises to the same cells.
  EXPECT_EQ(score(cells_of(test::letter_strokes('N', 900, 40)), etalon), best);

  // The end of the diagonal pulled up by k units of the 60 the letter is
  // high: each step scores below the step before it.
  std::int32_t previous = best;
  for (const std::int16_t k : {2, 5, 10, 15, 20, 30, 40}) {
    const std::vector<test::Points> bent = {test::polyline(
        {{100, 260}, {100, 200}, {140, static_cast<std::int16_t>(260 - k)}, {140, 200}}, 4)};
    const std::int32_t value = score(cells_of(bent), etalon);
    EXPECT_LT(value, previous) << k;
    previous = value;
  }
  // Other letters score below the most distorted N.
  for (const char letter : {'L', 'V', 'Z', 'T'}) {
    EXPECT_LT(score(cells_of(test::letter_strokes(letter)), etalon), previous) << letter;
  }
}

}  // namespace
}  // namespace inkrec
