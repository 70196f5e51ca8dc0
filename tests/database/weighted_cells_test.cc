#include "engine/database/weighted_cells.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/database/etalon_columns.h"
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

// Compared with a table of columns in one pass, the cells give every entry
// the direct score: over several blocks of columns, with entries sharing an
// etalon, entries without one or with one of another length, an etalon
// other than the one laid out for the entry, and cells the table lacks.
TEST(WeightedCellsTest, ScoresFromTheColumnsAsTheDirectScoreDoes) {
  constexpr std::uint32_t kCells = 12;
  std::mt19937 random(34);
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes weights;
  for (std::uint32_t c = 0; c < kCells; ++c) weights.push_back(c % 4 == 1 ? 0 : byte(random));
  std::vector<Etalon> etalons;
  for (int e = 0; e < 70; ++e) {
    Bytes levels;
    for (std::uint32_t c = 0; c < kCells; ++c) {
      // Many cells at level zero, some at the extremes.
      const int pick = byte(random);
      levels.push_back(pick < 90 ? kCellLevelZero : pick < 100 ? 0 : pick < 110 ? 255 : byte(random));
    }
    etalons.push_back(etalon_of(levels, 1 + 997 * static_cast<std::uint32_t>(e), 4, 2));
  }
  etalons.push_back(etalon_of({40, 40, 40}, 500, 3, 1));  // another length: no column
  std::vector<const Etalon*> entries;
  for (const Etalon& etalon : etalons) entries.push_back(&etalon);
  entries.push_back(nullptr);
  entries.push_back(&etalons[3]);
  entries.push_back(&etalons[69]);
  EtalonColumns columns;
  ASSERT_EQ(columns.assign(entries), kOk);
  EXPECT_EQ(columns.cell_count(), kCells);
  EXPECT_EQ(columns.padded_columns(), 96u);  // 70 distinct etalons in blocks of 32
  EXPECT_EQ(columns.column_of(entries.size() - 2), columns.column_of(3));
  EXPECT_EQ(columns.column_of(70), EtalonColumns::kNoColumn);
  EXPECT_EQ(columns.etalon_of(entries.size() - 3), nullptr);

  const Cells inked_sets[] = {{}, {1}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {2, 6, 7, 11},
                              {5, 9}, {3, 12}, {0, 40}};
  for (const Cells& inked : inked_sets) {
    WeightedCells cells;
    ASSERT_EQ(cells.assign(inked, weights), kOk);
    ASSERT_EQ(cells.compare_with(columns), kOk);
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
      // The entry's own etalon, and one it was not laid out from.
      for (const Etalon* etalon :
           {entries[entry], static_cast<const Etalon*>(&etalons[(entry + 1) % etalons.size()])}) {
        if (etalon == nullptr) continue;
        std::int32_t direct = -7;
        std::int32_t from_columns = -7;
        const int direct_status = score_against_etalon(inked, *etalon, weights, &direct);
        EXPECT_EQ(cells.score_entry(entry, *etalon, &from_columns), direct_status)
            << inked.size() << " " << entry;
        EXPECT_EQ(from_columns, direct) << inked.size() << " " << entry;
      }
    }
  }
}

}  // namespace
}  // namespace inkrec
