// The geometry pre-check: whether a candidate writing variant can be ruled
// out for a stroke group from coarse facts, before its features are
// matched and its rules run.
//
// The facts are the group's point count, loops, links, first piece, zone
// words and box, and what the letter evaluation measured of it (stroke gap,
// bridge, the piece that continues its stroke). The check reads the
// variant's charset, property bits, shape id, etalon id and cursive flag.
// It never changes a score: it answers ruled out or not.
//
// A group of fewer than 20 points passes, unless the variant is one of the
// marks that are matched on small ink (dots, accents, dashes). Otherwise
// the variant is ruled out by its conflicts with the group's loops, links,
// pieces, size and zones; by a following piece of the stroke above which
// the group lies, unless its shape may stand over one; and, for a cursive
// variant of a group of several figures none of which spans nine tenths
// of the group's height, unless its etalon is one that has no tall part.
#pragma once

#include <cstdint>

#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/box16.h"
#include "engine/records/figure_group.h"
#include "engine/rules/zone_masks.h"

namespace inkrec {

struct SymbolGeometryFacts {
  // Of the group (symbol_geometry_facts fills them).
  std::int16_t point_count = 0;   // points of all its runs
  std::int16_t loops_a = 0;       // loops closed turning one way
  std::int16_t loops_b = 0;       // and the other
  std::uint8_t element_flag = 1;  // the group's flag byte
  // Bit 0: a figure's second link is set; bit 1: its first link is.
  std::uint32_t option_word = 0;
  // The first figure's first point in its stroke: 0 when it starts the
  // stroke, 1 or more for a later piece (-1 when unset reads as a start).
  std::int16_t first_piece_start = 0;
  ZoneWords zones;
  Box16 box;  // the group's box: its geometry's
  // Measured by the letter evaluation.
  std::int32_t stroke_gap = -1;     // the widest gap between its strokes; -1 for none
  std::int32_t bridge_percent = 0;  // a flat bridge between two tall parts, % of the size
  bool segment_switch = false;      // the request's segment switch
  // The box of the piece that continues the stroke of the group's first
  // figure, when there is one (else null).
  const Box16* following_piece_box = nullptr;
};

// Fills the facts of the group from its records (the mark block of its
// geometry, its flags, its first figure, its zone words and box): kOk, or
// kBadArgument for a group without geometry or without a first figure, or
// the mark block's status.
int symbol_geometry_facts(FigureGroup& group, SymbolGeometryFacts* facts);

// *ruled_out is set when the symbol cannot be the group; kOk, or
// kBadArgument when one of the group's figure slots is null where the
// tall-part stage reads it (*ruled_out is then false).
int check_symbol_geometry(const SymbolGeometryFacts& facts, const FigureGroup& group,
                          const Variant& symbol, bool* ruled_out);

}  // namespace inkrec
