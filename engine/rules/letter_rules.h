// The letter rules: character-specific corrections of the recognised
// elements of a line fragment, run once per fragment after its letters are
// found and sorted, before the pair-merging passes.
//
// For the code of each element's best answer a rule of that character
// compares the element's ink with the line (box, baselines, strokes,
// extrema, figure shapes). Where the ink is really another character and
// the letter-pair table admits the change under the active charsets, the
// rule rewrites the best answer to that character (a replacement) or gives
// it that character as its previous reading (an alternative), with a rule
// penalty outside the answer's total. Every element then meets the
// full-stop rule: a small, roughly square element whose answer no rule
// rewrote gets the full stop as an alternative (penalty -1).
//
// Only the first answer of an element is ever changed; nothing else of the
// line is. Codes with a rule: 8 ' * , - . / 1 : ; A M m V Y u y a g c e f h
// i j l r v } ~, Cyrillic Г З И и ы Л Х п х г ч з л н о ш а д е с у, Greek Α
// α Λ Ο ο Υ Ψ ί σ φ, Hebrew ו י ן ר and the enclosed ⒩ ⒲. The letters s and t
// are looked up like the others but have no rule: they meet only the
// full-stop rule.
#pragma once

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/point_span.h"
#include "engine/records/figure_group.h"
#include "engine/records/fragment_state.h"

namespace inkrec {

// Applies the rules to every letter result of the state's line, in order
// (the count is read again after each). 0 when all are done or the line
// has none; -2 at a null result (the results before it keep their
// rewrites); else the first failure of apply_letter_rules.
int apply_letter_rules_to_all(FragmentState& state);

// The rules of one element. 0 when no rule applies, a rewrite succeeded, or
// the element has no answer; -2 for an element with an answer but without
// geometry, figures or a first figure; else the status of a failed measure
// or rewrite.
int apply_letter_rules(FragmentState& state, FigureGroup& group);

// The box of the points: all zero for none, else from the first point
// extended to every other.
Box16 box_of_points(PointSpan points);
inline Box16 box_of_points(const DynArray<PackedPoint>& points) {
  return box_of_points(PointSpan(points.data(), static_cast<std::int32_t>(points.size())));
}

}  // namespace inkrec
