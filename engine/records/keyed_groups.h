// The keyed records in which the grouping of a line keeps lists of figure
// groups: KeyedGroups (a word key and a group list), KeyedGroupsList (an
// array of those with a list of its own), KeyedGroupsSet (a bit-set key
// with two words and a KeyedGroupsList), KeyedLineEntry (a set with three
// values and a flag), and the ordered map of sets by their bit-set key.
//
// A group list that owns its groups is copied group by group; one that does
// not is copied as pointers. Copies report running out of memory and leave
// the target unchanged.
#pragma once

#include <cstdint>
#include <map>

#include "engine/foundation/bit_set.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"

namespace inkrec {

struct KeyedGroups {
  // The key and a copy of the group list: 0, or -1 with this record
  // unchanged.
  int set(std::uint32_t new_key, const PtrArray<FigureGroup>& new_groups);
  int assign(const KeyedGroups& other) { return set(other.key, other.groups); }
  // Copies source into storage; nothing (0) for null storage.
  static int copy_into(KeyedGroups* storage, const KeyedGroups& source);
  // to = a copy of from: 0, or -1 with to unchanged.
  static int copy_array(const DynArray<KeyedGroups>& from, DynArray<KeyedGroups>& to);
  // Destroys every record's group list and empties the array; the first
  // form keeps the buffer, the second frees it.
  static void clear_array(DynArray<KeyedGroups>& records);
  static void release_array(DynArray<KeyedGroups>& records);

  std::uint32_t key = 0;
  PtrArray<FigureGroup> groups;
};

struct KeyedGroupsList {
  int assign(const KeyedGroupsList& other);

  DynArray<KeyedGroups> records;
  PtrArray<FigureGroup> groups;
};

struct KeyedGroupsSet {
  int assign(const KeyedGroupsSet& other);

  BitSet key;
  std::uint32_t words[2] = {0, 0};
  KeyedGroupsList list;
};

struct KeyedLineEntry {
  // Three values, a copy of the set and the flag: 0, or -1 with this entry
  // unchanged.
  int set(std::uint32_t v0, std::uint32_t v1, std::uint32_t v2, const KeyedGroupsSet& new_set,
          std::uint8_t new_flag);
  int assign(const KeyedLineEntry& other);

  std::uint32_t values[3] = {0, 0, 0};
  KeyedGroupsSet groups;
  std::uint8_t flag = 0;
  std::uint8_t spare = 0;
};

// BitSet::less as an ordering.
struct BitSetLess {
  bool operator()(const BitSet& a, const BitSet& b) const { return a.less(b); }
};

// The sets of a line's grouping, ordered by their key (which each set also
// holds).
using KeyedSetMap = std::map<BitSet, KeyedGroupsSet, BitSetLess>;

// The position of the set with that key; the map's end when none.
KeyedSetMap::iterator find_keyed_set(KeyedSetMap& map, const BitSet& key);

}  // namespace inkrec
