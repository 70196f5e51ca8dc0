// The records a letter result keeps about its neighbours: the relation
// list of the pair relations, the entries of the pair-test and
// pair-extents caches, and the layout of a pair for the pair score.
//
// A pair of letter results is looked at with the later result first; the
// results of a pair live in the earlier result of the pair (the owner),
// keyed by the other's id, and stay until the owner is freed. Entries are
// never removed while the owner lives.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"

namespace inkrec {

struct FigureRecord;

// One partner found by the pair relations: the partner's id, the kinds of
// relation found (bits 1, 4, 8 and 16), a penalty (0 until the relations
// are updated) and the measure of the bit-1 relation (32767 without one).
struct PairRelation {
  std::uint32_t other = 0;
  std::uint32_t kinds = 0;
  std::int32_t penalty = 0;
  std::int32_t measure = 32767;
};
static_assert(sizeof(PairRelation) == 16 && offsetof(PairRelation, kinds) == 4 &&
              offsetof(PairRelation, penalty) == 8 && offsetof(PairRelation, measure) == 12);

// The answer of the pair test against one partner.
struct PairTestEntry {
  std::uint32_t other = 0;  // the partner's id
  std::uint8_t answer = 0;
  std::uint8_t valid = 0;  // the answer was computed
};

// How the ink of the owner and of another element lies against each other
// over the rows both occupy (every row quantity is a y). Before the rows
// are read the means and the count are 0, the first rows and the owner's
// right at the overlap take the values a fresh entry is given, and the
// computed flag is 0.
struct PairExtents {
  std::int32_t mean_left_offset = 0;   // other's leftmost - owner's leftmost ink
  std::int32_t mean_right_offset = 0;  // other's rightmost - owner's rightmost
  std::int32_t mean_span = 0;          // other's rightmost - owner's leftmost
  std::int32_t mean_gap = 0;           // other's leftmost - owner's rightmost
  std::int32_t overlap_rows = 0;       // rows where the other starts left of the owner's end
  std::int32_t first_overlap_row = 0;
  std::int32_t first_near_row = 0;
  std::int32_t owner_right_at_overlap = 0;
  std::int32_t last_near_row = 0;
  std::uint8_t computed = 0;
};

// An entry of the pair-extents cache: the other element's id and the
// extents measured against it.
struct PairExtentsEntry {
  std::uint32_t other = 0;
  PairExtents extents;
};

// The measures of the owner and a later neighbour that do not depend on
// the readings of either: the pair score reads them for every pair of
// readings. Whether the pair is judged at all is known from stage 1 on,
// the rest from stage 2 on (for a judged pair only). The figures it points
// at are the run's bodies and links, which stay in place from their split
// to the end of the run, as the owner's pair scores do.
struct PairLayout {
  static constexpr std::uint16_t kNoFigure = 0xFFFF;
  static constexpr std::uint8_t kJudgedKnown = 1;
  static constexpr std::uint8_t kMeasured = 2;

  Box16 later_box, earlier_box;              // the results' boxes
  Box16 later_first_box, earlier_first_box;  // the boxes of their first figures
  PackedPoint later_key, earlier_key;        // the sort-key points
  std::int32_t row_overlap = 0;     // of the boxes' rows (negative: the gap)
  std::int32_t column_overlap = 0;  // of their columns
  // Over the columns both boxes cover where both have ink: the owner's top
  // above / bottom below the neighbour's, its top below / bottom above.
  std::int32_t up = 0, down = 0, up_in = 0, down_in = 0;
  // The mean ink width of the rows, in percent of the box, of the
  // neighbour and of the owner (0 without a width profile).
  std::int32_t later_row_width = 0, earlier_row_width = 0;
  // The linked pair's places in the figure lists (kNoFigure without one).
  std::uint16_t linked_later = kNoFigure;
  std::uint16_t linked_earlier = kNoFigure;
  // The owner's extents against the neighbour, copied from the owner's
  // extents cache once they are read there (extents_known), which keeps
  // them unchanged for the owner's life.
  PairExtents extents;
  std::uint8_t extents_known = 0;
  FigureRecord* link = nullptr;  // the link figure between the linked pair, if any
  // The directions between the sort-key points, degrees: from the owner's
  // to the neighbour's, and back.
  std::int32_t direction_to_later = 0, direction_to_earlier = 0;
  // The neighbour's last figure is followed by another piece of its stroke
  // (or it has none to follow).
  std::uint8_t later_continued = 0;
  std::uint8_t hebrew = 0;  // the run reads Hebrew (charset 26)
  std::uint8_t greek = 0;   // the run reads Greek (charset 25 or 39)
  std::uint8_t judged = 0;  // both on one text line, both with ink
  std::uint8_t stage = 0;
};

}  // namespace inkrec
