// The coarse facts about a candidate writing variant that rule it out for
// a stroke group before it is scored: its charset and property bits read
// against the group's parts, links and size, and the classes its etalon
// id falls into.
//
// Each conflict predicate answers true when the variant does not suit the
// group. The charsets they know are 1, 2, 4 (Russian), 5 (English) and 38;
// a variant of any other charset never conflicts. Every answer is a few
// bit tests: the etalon classes are constant tables (IdSet), so the rules
// may ask them for every candidate of every group.
#pragma once

#include <cstdint>

#include "engine/database/knowledge_base_records.h"
#include "engine/database/property_flags.h"

namespace inkrec {

inline PropertyFlags properties_of(const Variant& symbol) {
  return PropertyFlags(symbol.properties);
}

// The group's loop counts a (turning one way) and b (the other) against
// what the symbol's parts allow: English (5) conflicts unless bit 0 is
// set, or bit 2 is set and b = 1, or bit 2 is clear, bit 1 set and a = 1;
// Russian (4) needs, by the first of bits 0..3 that is set: nothing (bit
// 0), b = 1 (bit 2), a = 1 (bit 1), a + b = 1 (bit 3), and conflicts with
// none of them set.
bool symbol_part_conflict(const Variant& symbol, int a, int b);
// A group with a figure whose second link is set: charset 2 always
// conflicts; charsets 1, 4, 5 and 38 unless property bit 4 is set.
bool symbol_class_conflict_a(const Variant& symbol);
// A group with a figure whose first link is set: charsets 4 and 5 unless
// property bit 5 is set.
bool symbol_class_conflict_b(const Variant& symbol);
// A size (a percentage) of 40 or more: charsets 4 and 5 unless property
// bit 11 is set.
bool symbol_size_conflict(const Variant& symbol, std::int32_t size);

// The classes of the symbol's etalon id.
bool is_etalon_class_a(const Variant& symbol);
bool is_etalon_class_b(const Variant& symbol);
bool is_etalon_class_f(const Variant& symbol);
bool is_etalon_class_g(const Variant& symbol);
bool is_etalon_class_h(const Variant& symbol);
bool is_etalon_class_j(const Variant& symbol);
// 1 for the ids of class c, 0 for those of class d, 2 for the rest.
int etalon_class_cd(const Variant& symbol);

}  // namespace inkrec
