// The limits a writing variant's shape sets on a stroke group: how much
// empty space its box may hold, how many turning points and segments it
// may have, and how tall it may be against the line's letter size.
//
// Each test compares measures of the group (taken once before the
// candidates are judged) with the bytes of the shape's description and
// answers a verdict: the variant is ruled out, or it pays a penalty
// (subtracted from its P; 0 for none). They never fail and never allocate.
#pragma once

#include <cstdint>

#include "engine/foundation/tagged_records.h"

namespace inkrec {

struct ShapeVerdict {
  bool ruled_out = false;
  std::int32_t penalty = 0;  // what the variant pays, >= 0
};

// The group's measures the shape limits read.
struct GroupShapeFacts {
  std::int32_t width = 0;          // of the box, inclusive
  std::int32_t height = 0;         // of the box, inclusive
  std::int32_t empty_columns = 0;  // total length of the empty column runs
  std::int32_t empty_rows = 0;
  std::int32_t figure_count = 0;
  std::int32_t minima = 0;  // of the group's extrema record
  std::int32_t maxima = 0;
  std::int32_t turning_count = 0;  // its accepted turning points and final hook
  std::int32_t segment_count = 0;
  std::uint8_t segment_masks[2] = {0, 0};
  std::int32_t second_count = 0;
};

// Empty space: a box whose empty columns (rows) total more than the width
// (height) scaled by the shape's width (height) factor in percent pays
// 850; more than twice that rules the variant out.
ShapeVerdict empty_space_verdict(const GroupShapeFacts& group, const ShapeInfo& shape);

// Turning points: the minima, maxima and their total, each against the
// shape's limit when that is positive; every one over pays 400, and a
// group of at most one figure may pass a limit by one only.
ShapeVerdict turning_point_verdict(const GroupShapeFacts& group, const ShapeInfo& shape);

// Segments: the group's segments (their two-bit upper/lower codes) against
// the shape's. One segment more than the shape pays 400, two more (for
// two or more figures) 800 without comparing; the codes are compared (with
// the segment switch on) with one pair of neighbouring segments of the
// longer side merged, the best merge counting; one disagreement pays 400,
// two rule the variant out. A shape without segments sets no limit.
ShapeVerdict segment_verdict(const GroupShapeFacts& group, const ShapeInfo& shape,
                             bool segment_switch);

// The segments' codes: bit i of each mask, first mask the high bit.
std::uint8_t segment_code(const std::uint8_t (&masks)[2], std::int32_t i);
// Whether a group segment's code disagrees with a shape segment's.
bool segment_codes_disagree(std::uint8_t shape_code, std::uint8_t group_code);
// The code of two neighbouring segments taken as one (x the earlier).
std::uint8_t merged_segment_code(std::uint8_t x, std::uint8_t y);

// The height ramp of a shape whose samples reach from a (top offset) to b
// (bottom offset) in percent of the line's letter size: 3000 for a flat
// group, falling to 0 at the height the samples span; 0 when no ramp is
// due.
std::int32_t height_ramp_penalty(const ShapeInfo& shape, std::int32_t height, std::int32_t size);

}  // namespace inkrec
