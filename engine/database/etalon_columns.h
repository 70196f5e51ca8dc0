// EtalonColumns: the cell levels of a list of etalons laid out cell by
// cell, so that a figure's inked cells are compared with every etalon of
// the list in one pass over the cells (WeightedCells::compare_with).
//
// Entry i of the list gets a column when its etalon is not null and has the
// table's cell count (that of the first such etalon); entries sharing an
// etalon share its column. The table copies the levels: it describes the
// etalons as they were when it was laid out, and its owner lays it out
// again whenever the etalons may have changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

class EtalonColumns {
 public:
  static constexpr std::uint32_t kNoColumn = 0xFFFFFFFF;
  // Columns are laid out in blocks of this many, the last filled with level 0.
  static constexpr std::uint32_t kBlock = 32;

  // kOk, or kOutOfMemory with the table empty.
  int assign(std::span<const Etalon* const> etalons);
  void clear();

  std::uint32_t cell_count() const { return cell_count_; }
  // The columns with room for the last block: the length of the sums.
  std::uint32_t padded_columns() const { return stride_; }
  // The column of entry i, kNoColumn when it has none or i is past the list.
  std::uint32_t column_of(std::size_t entry) const;
  // The etalon entry i was laid out from; null when it has no column.
  const Etalon* etalon_of(std::size_t entry) const;

  // For every column j, over the cells c_i with weights w_i:
  // products[j] = sum of level(c_i, j) * w_i on the stored scale (32 is
  // level 0) and zeros[j] = how many c_i have level 0. Every cell must lie
  // below cell_count(), at most 65535 cells are given, and both outputs hold
  // padded_columns() values.
  void accumulate(std::span<const std::uint16_t> cells, std::span<const std::uint8_t> weights,
                  std::uint32_t* products, std::uint16_t* zeros) const;

 private:
  int lay_out(std::span<const Etalon* const> etalons);

  DynArray<std::uint8_t> levels_;  // cell_count_ rows of stride_ levels
  DynArray<std::uint32_t> columns_;  // the column of each entry
  DynArray<const Etalon*> etalons_;  // the etalon of each entry with a column
  std::uint32_t cell_count_ = 0;
  std::uint32_t stride_ = 0;
};

}  // namespace inkrec
