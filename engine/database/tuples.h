// Tuples: per language, the letter-pair rules that name three lists of
// variant ids (first greedy, second greedy, weak).
//
// Stored, each level starts with a u32 level tag:
//   entry: u32 3, u32 tuple count, u32 charset id, the tuples
//   tuple: u32 2, u32 with the rule number in bits 0-15 and the three
//          lists' complex flags in bits 16, 17 and 18; the three lists
//   list:  u32 1, u32 count, count u16 variant ids
// Readers check every count against the rest of the file, treat a wrong
// level tag as a broken file and stop at the first failure.
#pragma once

#include <cstdint>

#include "engine/foundation/binary_stream.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

struct Tuple {
  // A list with its complex flag set holds complex variant ids, else
  // variant ids.
  DynArray<std::uint16_t> lists[3];
  std::uint16_t rule = 0;
  std::uint8_t complex[3] = {};

  int assign(const Tuple& other);
  friend bool operator==(const Tuple& a, const Tuple& b);
};

struct TuplesEntry {
  DynArray<Tuple> tuples;
  std::uint32_t charset_id = 0;

  int assign(const TuplesEntry& other);
  friend bool operator==(const TuplesEntry& a, const TuplesEntry& b);
};

using TuplesTable = DynArray<TuplesEntry>;

bool write_tuples_entry(BinaryStream& stream, const TuplesEntry& entry);
bool read_tuples_entry(BinaryStream& stream, TuplesEntry& entry);

}  // namespace inkrec
