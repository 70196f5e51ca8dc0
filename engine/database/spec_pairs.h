// Special pairs: per language, clusters of variant pairs that the pair
// rules treat specially. Four tables of this form exist (simple and complex
// variants on either side of the pair).
//
// Stored, each level starts with a u32 level tag:
//   entry: u32 3, u32 group count, u32 charset id, the groups
//   group: u32 2, u32 pair count, u16 key (the cluster's first variant),
//          the pairs
//   pair:  u32 1, u16 second variant, i16 max delta, i16 min measure
// Readers check every count against the rest of the file, treat a wrong
// level tag as a broken file (the stream's error flag) and stop at the first
// failure.
#pragma once

#include <cstdint>

#include "engine/foundation/binary_stream.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

struct SpecPair {
  std::uint16_t variant2 = 0;
  std::int16_t max_delta = -1;
  std::int16_t min_measure = -1;

  friend bool operator==(const SpecPair&, const SpecPair&) = default;
};

struct SpecPairGroup {
  DynArray<SpecPair> pairs;
  std::uint16_t key = 0;

  int assign(const SpecPairGroup& other);
  friend bool operator==(const SpecPairGroup& a, const SpecPairGroup& b);
};

struct SpecPairsEntry {
  DynArray<SpecPairGroup> groups;  // ascending by key
  std::uint32_t charset_id = 0;

  int assign(const SpecPairsEntry& other);
  friend bool operator==(const SpecPairsEntry& a, const SpecPairsEntry& b);
};

using SpecPairsTable = DynArray<SpecPairsEntry>;

bool write_spec_pairs_entry(BinaryStream& stream, const SpecPairsEntry& entry);
bool read_spec_pairs_entry(BinaryStream& stream, SpecPairsEntry& entry);

// The group with that key by binary search (groups ascend by key); null
// when none has it.
const SpecPairGroup* lower_bound_by_id(const DynArray<SpecPairGroup>& groups, std::uint16_t key);

}  // namespace inkrec
