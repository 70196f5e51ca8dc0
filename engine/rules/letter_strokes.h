// The shape measures the letter rules of whole letters share: where an
// element's single stroke begins and ends in its own box, where its ink
// turns, and how wide its ink is on a row. Not for callers.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"
#include "engine/foundation/point_span.h"
#include "engine/rules/letter_element.h"

namespace inkrec {

bool one_of(std::uint16_t value, std::initializer_list<std::uint16_t> values);

// The ink width of the element's row, 0 for an empty row or without a
// profile.
std::int32_t ink_width(const LetterElement& e, std::int32_t row);

// The box of the element's first stroke (box_of_points) and its two ends.
struct StrokeEnds {
  Box16 box;
  PackedPoint first;
  PackedPoint last;
};

// False for a first stroke without points.
bool stroke_ends(const LetterElement& e, StrokeEnds& out);

// The stroke begins in its right half, high up: a round body drawn
// leftwards (a, d, g, o and their kind) rather than a stem or a cup.
bool starts_round_body(const StrokeEnds& s);
// The stroke begins in its left third and upper half and ends in its right
// third: a cup drawn rightwards (u, и).
bool drawn_as_cup(const StrokeEnds& s);
// The stroke begins in its upper quarter and right half: an open bow drawn
// leftwards (c, с).
bool starts_top_right(const StrokeEnds& s);
// The stroke begins between its upper and lower quarter, left of its
// middle: a crossbar drawn first (e, е).
bool starts_with_bar(const StrokeEnds& s);
// The stroke ends within a quarter of its larger side from where it began.
bool closes_on_itself(const StrokeEnds& s);

// The highest and the lowest point of a stroke (the first of equals); the
// stroke must have points.
PackedPoint topmost_point(PointSpan points);
PackedPoint lowest_point(PointSpan points);

// More than half the element's columns have ink in its top tenth: a flat
// top (п) rather than a peak (л) or two stems (н).
bool flat_top(const LetterElement& e);

// The index of the first point of the stroke that, after the lowest point
// of its first descent (where it rises again by more than a tenth of the
// box's height), lies in the right quarter of the box; -1 when none does.
std::int32_t right_quarter_after_first_descent(PointSpan points, const Box16& box);

// The first interior turning point of the element's extrema at which the
// ink turns back up (a local maximum of y); null when there is none.
const Extremum* first_bottom_turn(const LetterElement& e);
// The same for the first turn back down (a local minimum of y).
const Extremum* first_top_turn(const LetterElement& e);

}  // namespace inkrec
