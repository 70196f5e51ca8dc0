// The letter-pair variant table: whether the database holds a frequently
// used variant that supports reading a letter as character A where
// character B is the rival reading.
//
// A fixed table maps a key (A, B), or for a few letters (A, B, the
// candidate's variant), to variant ids, either for every active charset
// alike or grouped by charset. Rows whose ids come with the shipped
// database's numbering take, in place of fixed ids, the database's own
// variants of character A (of each active charset for the rows grouped by
// charset). A call allocates nothing.
#pragma once

#include <cstdint>
#include <span>

#include "engine/database/data_store.h"

namespace inkrec {

// What the table needs of the letter candidate.
struct PairCandidate {
  // Non-zero: variant_id and the table's ids are complex variant ids.
  std::uint8_t complex = 0;
  std::uint16_t variant_id = 0;
};

// 1 when one of the row's ids, taken in order, names a record of the
// database with use class 0 (often); 0 when none does or the table has no
// row for the key. `active` holds the ids of the active charsets.
int collect_pair_variants(std::span<const std::uint32_t> active, const DataStore& store,
                          std::int32_t a, std::int32_t b, const PairCandidate& candidate);

}  // namespace inkrec
