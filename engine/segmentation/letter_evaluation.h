// The letter evaluation of one stroke group: the group, whose feature
// cells the kernel has just computed, judged as a single letter against
// every candidate writing variant of the active charsets.
//
// The group is measured once (group_measures.h); then every candidate is
// ruled out or charged by cheap integer tests in turn (the geometry
// pre-check, the symbol rule book, the height flag, the limits of its
// shape) and, when it stands, scored: a special mark by the rule book of
// special marks (special_marks.h), any other variant by the similarity of
// the group's inked cells to its etalon. The readings go into four lists:
// letters (variants with a character code), marks (without one), and
// their full twins, which are kept only when the kernel's hook asks for
// extended output. Each reading's sub-key is its variant's shape id.
//
// What a caller may rely on: the output's letter and mark lists are
// replaced (the full lists too in extended output) unless the evaluation
// fails before it starts scoring; the group's inked-cell count and ramp
// are written; nothing else of the group or the line work changes except
// the blocks built on first use. A candidate whose shape or etalon the
// database lacks is passed over and counted, never a failure. Nothing is
// allocated per candidate (but for the unlimited full lists).
#pragma once

#include <cstdint>

#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// kOk (also when no candidate stands: empty lists); kStopped when the
// kernel's stop flag is seen (at the start, after the mark tests, between
// candidates, after the candidates and at the end); kNoActiveCharSet with
// no active charset (nothing written); kBadArgument for an empty group, a
// null figure, a group without geometry or a missing pair-table entry;
// else the first failing status of a measure, a rule, the similarity or
// a list. *skipped (when given) counts the candidates passed over for a
// missing shape or etalon.
int recognize_figure_group(RecognitionContext& context, FigureGroup& group, CandidateLists& out,
                           std::uint32_t* skipped = nullptr);

// The reading the margin of the letters a word search reads counts from:
// the best reading of a letter (the list in descending order of total), so
// that a digit reading better ("9" for the "a" of "year") pushes out no
// letter the word list may want; null when the list reads no letter.
const Answer* word_letter_reference(const AnswerList& letters);

}  // namespace inkrec
