#include "engine/database/weighted_cells.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/database/etalon_score.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

using Cells = std::vector<std::uint16_t>;
using Bytes = std::vector<std::uint8_t>;

Etalon etalon_of(const Bytes& levels, std::uint32_t norm, std::int16_t max_hits,
                 std::int16_t min_hits) {
  Etalon etalon;
  for (const std::uint8_t level : levels) EXPECT_EQ(etalon.cells.push_back(level), kOk);
  etalon.stats.norm = norm;
  etalon.stats.max_hits = max_hits;
  etalon.stats.min_hits = min_hits;
  return etalon;
}

// The gathered cells score every etalon as score_against_etalon does:
// weightless cells and cells at level zero counted alike, negative
// similarities, counts corrected for too many or too few hits, and the
// refusals for cells outside the etalon or the weights.
TEST(WeightedCellsTest, ScoresEveryEtalonAsTheDirectScoreDoes) {
  const Bytes weights = {40, 0, 255, 32, 1, 0, 90, 40};
  const Etalon etalons[] = {
      etalon_of({40, 40, 40, 40, 40, 40, 40, 40}, 2000, 6, 2),
      etalon_of({32, 200, 0, 255, 32, 33, 31, 32}, 50000, 2, 1),
      etalon_of({0, 0, 0, 0, 0, 0, 0, 0}, 900, 20, 10),
      etalon_of({32, 32, 32, 32, 32, 32, 32, 32}, 64, 3, 3),
      etalon_of({90, 32, 91, 10}, 700, 3, 1),  // shorter than some cells
  };
  const Cells inked_sets[] = {{}, {0}, {1, 5}, {0, 1, 2, 3, 4, 5, 6, 7}, {2, 6, 7}, {3, 9}};
  for (const Cells& inked : inked_sets) {
    WeightedCells cells;
    ASSERT_EQ(cells.assign(inked, weights), kOk);
    for (const Etalon& etalon : etalons) {
      std::int32_t direct = -7;
      std::int32_t gathered = -7;
      const int direct_status = score_against_etalon(inked, etalon, weights, &direct);
      EXPECT_EQ(cells.score_against(etalon, &gathered), direct_status) << inked.size();
      EXPECT_EQ(gathered, direct) << inked.size();
    }
  }
}

}  // namespace
}  // namespace inkrec
