// The letter-pair variant table: whether the database holds a frequently
// used variant that supports reading a letter as character A where
// character B is the rival reading.
//
// A fixed table maps a key (A, B), or for a few letters (A, B, the
// candidate's variant), to variant ids, either for every active charset
// alike or grouped by charset. Eleven rows have fixed ids. The ids of the
// others belong to a database's own numbering and come with the database
// as SuppliedPairIds: those of the default database are listed in
// supplied_pair_ids.inc beside this file, whose records its recipe places
// at those ids; the list is compiled in (the build fails when an entry fits
// no such row). A row without
// supplied ids finds nothing. A call allocates nothing.
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

// Marks an id that counts whatever charsets are active.
inline constexpr std::uint32_t kEveryCharset = 0xFFFFFFFF;

// One id for a row without fixed ids: the row's key (A, B), the charset it
// counts under (kEveryCharset for a row not grouped by charset, else one of
// the charsets the row is grouped by) and the variant id. A row's ids are
// looked up in the order they are supplied.
struct SuppliedPairId {
  std::int32_t a;
  std::int32_t b;
  std::uint32_t charset;
  std::uint16_t id;
};

// The ids supplied with the default database.
std::span<const SuppliedPairId> default_supplied_pair_ids();

// 1 when one of the row's ids, taken in order, names a record of the
// database with use class 0 (often); 0 when none does or the table has no
// row for the key. `active` holds the ids of the active charsets; rows
// without fixed ids take theirs from `supplied`, where entries that fit no
// such row are never looked up.
int collect_pair_variants(std::span<const std::uint32_t> active, const DataStore& store,
                          std::int32_t a, std::int32_t b, const PairCandidate& candidate,
                          std::span<const SuppliedPairId> supplied = default_supplied_pair_ids());

}  // namespace inkrec
