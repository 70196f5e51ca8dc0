// The letter case of the readings: for every reading of an element that
// has no case choice yet, whether its upper-case form (choice 1) or its
// lower-case form (choice 2) is output, by the reading's case kind and the
// element's height against the reference height of its line.
//
// The reference height is the line's measured body height, or the line
// set's letter height while the body is not measured, never below 1 (see
// TextLine::case_reference_height). A reading keeps a choice it has, unless
// the kernel's fixed case makes every choice 2.
#pragma once

#include <cstdint>

#include "engine/foundation/ptr_array.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// The case choices of a reading (AnswerList::set_code_choice).
inline constexpr std::uint32_t kCaseChoiceUpper = 1;
inline constexpr std::uint32_t kCaseChoiceLower = 2;

// The case choice of every reading of the element. The height is the
// geometry's box height, or, once a reading's box reaches a third of the
// body below the baseline, the height from the element's baseline up to
// that box's top. Kind 2 is always upper case; kind 4 upper case unless
// the element is small (at most 0.7 reference heights); kinds 3 and 5 upper
// case when it is big (at least 1.7); every other kind lower case. 0; -2
// for an element without a geometry.
int choose_letter_case(RecognitionContext& context, FigureGroup& element);

// The height an element's case is measured against: its line's case
// reference height, or the letter height of the settings when the element
// stands on no line; never below 1.
std::int32_t case_reference_height(RecognitionContext& context, const FigureGroup& element);

// choose_letter_case over the elements of the output, then over the letter
// results of every text line. 0; -2 at a null element.
int check_all_candidates(RecognitionContext& context, const PtrArray<FigureGroup>& output);

// A word's first letter read by a capital way of writing (case kind 2)
// whose element stands less than 1.5 reference heights tall is a small
// letter written in the shape of its capital, as joined writing often
// makes n, m, a, i or p: reading `i` of the element, when it was to be
// output in upper case, takes its lower-case form. The height is the one
// choose_letter_case measured the reading by. 0; -2 for an element without
// a geometry or answers, or a bad index.
int lower_small_capital(RecognitionContext& context, FigureGroup& element, std::uint32_t i);

// The case kind a new reading takes from its codes (the code read, its
// lower-case form second and its upper-case form third): 0 for a reading
// without two forms or read as its lower-case form; 3 for a letter whose
// two forms share one shape (Latin c, o, s, u, v, w, x, z and the
// Cyrillic letters written as small capitals), chosen by size; 2 for the
// upper-case form of any other letter.
std::uint8_t case_kind_of(const Answer& reading);

// The other case form of a letter whose two forms are written alike, so
// that a letter written alone, with no line to measure its size against,
// may be either: the letters of case kind 3 and k, p, y and j, whose forms
// differ only in where they stand on a line. `code` is one of the letter's
// forms `lower` and `upper`; 0 for any other code or letter.
std::uint16_t other_form_written_alike(std::uint16_t code, std::uint16_t lower,
                                       std::uint16_t upper);

}  // namespace inkrec
