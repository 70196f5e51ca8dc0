#include "engine/database/etalon_columns.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

struct WeightCase {
  const char* name;
  std::uint8_t (*weight)(std::uint32_t cell);
};

// The products and zero counts of the pass equal the sums taken cell by
// cell, also over long runs of one weight, where every column's sum of
// levels and count of zeros pass what a narrow sum could hold, and when the
// weight changes from cell to cell or in the middle of a run.
TEST(EtalonColumnsTest, AccumulatesAsTheCellByCellSums) {
  constexpr std::uint32_t kCells = 700;
  std::vector<Etalon> etalons(40);
  for (std::uint32_t e = 0; e < etalons.size(); ++e) {
    for (std::uint32_t c = 0; c < kCells; ++c) {
      // Column 0 all at the top level, column 1 all at level zero, the
      // others mixed.
      const std::uint8_t level = e == 0   ? 255
                                 : e == 1 ? kCellLevelZero
                                          : static_cast<std::uint8_t>((c * 37 + e * 11) % 3 == 0
                                                                          ? kCellLevelZero
                                                                          : (c * 7 + e) % 256);
      ASSERT_EQ(etalons[e].cells.push_back(level), kOk);
    }
  }
  std::vector<const Etalon*> entries;
  for (const Etalon& etalon : etalons) entries.push_back(&etalon);
  EtalonColumns columns;
  ASSERT_EQ(columns.assign(entries), kOk);
  ASSERT_EQ(columns.padded_columns(), 64u);

  const WeightCase cases[] = {
      {"one weight", [](std::uint32_t) -> std::uint8_t { return 255; }},
      {"weight changing at 300", [](std::uint32_t c) -> std::uint8_t { return c < 300 ? 255 : 3; }},
      {"weight of each cell", [](std::uint32_t c) -> std::uint8_t { return c % 256; }},
  };
  for (const WeightCase& test : cases) {
    std::vector<std::uint16_t> cells;
    std::vector<std::uint8_t> weights;
    for (std::uint32_t c = 0; c < kCells; ++c) {
      cells.push_back(static_cast<std::uint16_t>(kCells - 1 - c));
      weights.push_back(test.weight(c));
    }
    std::vector<std::uint32_t> products(columns.padded_columns(), 7);
    std::vector<std::uint16_t> zeros(columns.padded_columns(), 7);
    columns.accumulate(cells, weights, products.data(), zeros.data());
    for (std::uint32_t e = 0; e < etalons.size(); ++e) {
      const std::uint32_t column = columns.column_of(e);
      std::uint32_t product = 0;
      std::uint16_t zero_count = 0;
      for (std::uint32_t i = 0; i < kCells; ++i) {
        const std::uint8_t level = etalons[e].cells[cells[i]];
        product += std::uint32_t{level} * weights[i];
        zero_count = static_cast<std::uint16_t>(zero_count + (level == kCellLevelZero ? 1 : 0));
      }
      EXPECT_EQ(products[column], product) << test.name << " " << e;
      EXPECT_EQ(zeros[column], zero_count) << test.name << " " << e;
    }
    // The padding columns hold level zero in every cell.
    EXPECT_EQ(zeros[columns.padded_columns() - 1], kCells) << test.name;
  }
}

}  // namespace
}  // namespace inkrec
