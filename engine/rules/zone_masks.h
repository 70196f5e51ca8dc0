// Zone masks: where a symbol may show the loops and ends the preparation
// marks in a group's zone words, by the symbol's shape id.
//
// The group's geometry records four zone words Z1..Z4 (zone_z1.. in
// letter_fields.h): the loop masks of all its points (marked and other),
// of its first points (other) and of its last points (marked). A shape
// lists four masks M1..M4 of zone bits it must not show; shapes without an
// entry have none. Two shapes read their masks by the variant's second
// code: 198 ("л" 1083, "и" 1080) and 335 ("п" 1087, "и" 1080); with any
// other second code they have none. The look-up is one table read.
#pragma once

#include <cstdint>

#include "engine/database/knowledge_base_records.h"
#include "engine/records/glyph_geometry.h"

namespace inkrec {

struct ZoneMasks {
  std::uint32_t m1 = 0;
  std::uint32_t m2 = 0;
  std::uint32_t m3 = 0;
  std::uint32_t m4 = 0;

  friend bool operator==(const ZoneMasks&, const ZoneMasks&) = default;
};

struct ZoneWords {
  std::uint32_t z1 = 0;
  std::uint32_t z2 = 0;
  std::uint32_t z3 = 0;
  std::uint32_t z4 = 0;
};

ZoneMasks zone_masks_of(std::uint16_t shape_id, std::uint16_t second_code);
ZoneWords zone_words_of(const GlyphGeometry& group_geometry);

// Strict: a conflict when any Zi & Mi is non-zero. Lenient: only when the
// group shows a bit in Z1 and Z2 that M1 and M2 both forbid.
bool zone_mask_conflict(const Variant& symbol, const ZoneWords& zones, bool strict);

}  // namespace inkrec
