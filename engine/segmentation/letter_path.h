// LetterPath: a chain of letters read through the stroke groups of a text
// line, one answer of each group, as the letter search over a word box
// builds it; LetterStep: one letter of it.
//
// A path keeps running statistics of its steps so that the search can
// judge it at every step without walking it: its codes, the sums and
// extremes of the steps' two values and answer ordinals, the number of
// steps read through an answer other than the group's first, and the
// strokes it covers. Its value is the mean first value per stroke plus its
// base (a bonus per stroke set when the path is stored) and the pair scores
// of its steps; the path with the greater value reads the strokes better.
// Steps are kept by value; appending one allocates only when the arrays
// grow.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

class FigureGroup;
class RecognitionContext;

struct LetterStep {
  static constexpr std::uint32_t kMaxCodes = 3;

  std::span<const std::uint16_t> code_span() const { return {codes, code_count}; }

  FigureGroup* group = nullptr;
  // The answer read in the group's list; -1 reads the first answer through
  // its second (saved) codes.
  std::int16_t answer = 0;
  // The answer's place among the group's answers made from letter
  // candidates.
  std::int16_t ordinal = 0;
  std::int32_t first_value = 0;   // the answer's total
  std::int32_t second_value = 0;  // how far below the first answer it reads
  std::int16_t target = -1;       // the segment record where the step ends
  // The pair score with the step before, set when the step is appended.
  std::int16_t pair_score = 0;
  std::uint8_t code_count = 0;
  std::uint16_t codes[kMaxCodes] = {};
  // Where the letter search stood when it took the step: the first
  // position not yet covered (position | line << 16) and the covered
  // positions at and behind it (bit k for position + k).
  std::uint32_t search_place = 0;
  std::uint32_t search_covered = 0;
  // The path's least first value, greatest second value and greatest
  // ordinal up to and with the step, set when the step is appended.
  std::int32_t least_value_so_far = 0;
  std::int32_t greatest_second_so_far = 0;
  std::int16_t greatest_ordinal_so_far = 0;
};

// The character a step reads: its answer's first code, the first answer's
// saved first code for answer -1, and 0 for an answer outside the list.
std::uint16_t step_character(const LetterStep& step);
// Code k (0 to 2) of the step's answer, read as step_character reads the
// first; 0 when there is none.
std::uint16_t step_code(const LetterStep& step, int k);
// The step's answer key; 0 when there is none.
std::uint16_t step_answer_key(const LetterStep& step);
// The text line of a group (of its first figure); -2 for a group without
// figures.
int group_line(const FigureGroup& group);
// The strokes a group covers: its figures.
std::int32_t group_strokes(const FigureGroup& group);

struct LetterPath {
  static constexpr std::int32_t kNoLeastValue = 10000;

  // The mean first value per stroke plus the extra; 0 for a path that
  // covers no stroke.
  std::int32_t value() const { return strokes == 0 ? 0 : weighted_total / strokes + extra(); }
  // The bonus per stroke: the base and the steps' pair scores.
  std::int32_t extra() const { return base + pair_sum; }
  // Whether a reads its strokes better than b (per stroke, weighted totals
  // and extras together): never when a covers no stroke, always when only
  // b covers none.
  static bool greater_average(const LetterPath& a, const LetterPath& b);

  // Becomes a copy of other, in the room this path has when it is enough:
  // 0, or -1 with this path unchanged.
  int assign(const LetterPath& other);
  // Takes the last step back: its codes and sums go, the least first
  // value, greatest second value and greatest ordinal become those of the
  // steps left (10000, 0 and 0 for none) as extend_path counted them, and
  // the weight becomes `weight_before`. Nothing for a path without steps.
  void remove_last_step(std::uint32_t weight_before);

  DynArray<LetterStep> steps;
  DynArray<std::uint16_t> codes;  // the codes of all steps in order
  // The slot value of the last letter among the allowed letters; the
  // search stores a path only where a word may end (2).
  std::uint32_t weight = 0;
  std::int32_t value_sum = 0;  // sum of the steps' second values
  std::int32_t least_value = kNoLeastValue;
  std::int32_t greatest_second = 0;
  std::int32_t ordinal_sum = 0;
  std::int32_t greatest_ordinal = 0;
  std::int32_t non_first = 0;  // steps read through an answer past the first
  std::int32_t strokes = 0;
  std::int32_t positions = 0;       // equal to strokes; the search counts with it
  std::int32_t weighted_total = 0;  // sum of first value x strokes
  std::int32_t pair_sum = 0;        // sum of the steps' pair scores
  std::int32_t base = 0;
  std::uint8_t weak = 0;
  // Whether the word list holds the path's word with the capitals it reads
  // (set when the path is stored): not so, so, or so and, for a word read
  // with a capital first letter, with a small one too ("Case" and "case").
  static constexpr std::uint8_t kCapitalsNotListed = 0;
  static constexpr std::uint8_t kCapitalsListed = 1;
  static constexpr std::uint8_t kCapitalsListedBothWays = 2;
  std::uint8_t capitals_listed = kCapitalsNotListed;
};

// Appends a step read with `weight` to the path. A step whose group has no
// answers is not appended (0). A letter after a hyphen that ends a step on
// the same line must be one that joins words (class bit 4), else -100 and
// the path stays as it was. The step keeps the pair score of its group
// with the last step's when both lie on one line. 0; the pair scorer's
// status; -1 when the codes cannot grow; -2 when the step cannot be kept.
int extend_path(LetterPath& path, const LetterStep& step, std::uint32_t weight,
                RecognitionContext& context, const CharClassTables& classes);

}  // namespace inkrec
