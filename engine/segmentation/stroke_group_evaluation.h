// The evaluation of one set of figures of a text line as one letter: first
// whether the figures can make one letter at all (admissibility), then the
// kernel's judgement of the group against the candidate variants, then the
// new letter result stored in the line with its word group.
//
// A set is refused (kRejected, no result) when, outside the whole-line
// mode (recognition mode 2): one stroke brings more than 5 tall figures or
// more than 4 large links; it leaves out a figure lying between two of its
// figures on different strokes, or it leaves gaps both in candidate
// positions and in body indices (both only without the composite flag);
// a stroke's figures in it are not consecutive bodies; with stroke joining,
// its neighbouring strokes do not join as one letter, or an untouched
// stroke between its strokes lies inside it; the run of ink it makes of a
// stroke turns too often, around its loops or far beyond the line
// (element_extrema_tests.h; only with the pass switch); or, once read, it
// swallows a link it does not hold.
//
// What a caller may rely on: on kOk the new result is the last of the
// line's letter_results, its figures are the set's candidate figures in
// body order, its members the set, its coverage their candidate positions,
// its box their union, its index its place in letter_results, its reason
// -1 (the caller sets it), and its readings (answers: the letters,
// composites: the marks) those the kernel gave its ink. Several figures of
// one stroke are read as one run of ink: the line's merged element of that
// run (kept in the line part's extra figures), whose candidate lists keep
// the readings of a set on one stroke. A result of several figures joins
// the word group of its first figure (a new one when it has none), into
// which the word groups of its other figures are merged; a result of one
// figure joins its figure's word group when it has one.
#pragma once

#include <cstdint>

#include "engine/foundation/bit_set.h"
#include "engine/records/fragment_state.h"
#include "engine/records/letter_result.h"

namespace inkrec {

// The reasons the hypothesis graph gives for an evaluation.
enum class EvaluationReason : std::int32_t {
  kSingleFigure = 10,
  kWholeLine = 20,
  kGrowthRight = 21,
  kGrowthLeft = 22,
  kComposite = 30,
  kPartnerJoin = 40,
  kWordWindow = 50,
  kWordWindowInWritingOrder = 51,
};

// Evaluates the set of body indices of the state's line as one letter.
// kOk with the new result in *out (when out is given); kRejected when the
// set cannot be one letter; 1003 when the set is empty, a figure carries
// no line index or the figures lie on different lines; -2 for a line index
// past the run's lines, a body index with no candidate or a stroke or link
// that cannot be found; -1 when memory runs out; the kernel's status
// (4034, 4007, ...) when the recognition fails. No result is made unless
// the status is kOk. With `composite` (the composite-letter search asks)
// skipped figures between the set's figures refuse nothing.
int evaluate_stroke_group(FragmentState& state, const BitSet& set, bool composite,
                          LetterResult** out);

}  // namespace inkrec
