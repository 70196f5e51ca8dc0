// LetterResult: a set of figures of a text line evaluated as one letter: a
// FigureGroup that holds its own readings, composite readings and geometry.
//
// The TextLine whose letter search made a result owns it (its
// letter_results); the word groups, their covers and the kernel's figure
// output only point at it, so a result lives until its line is cleared or
// freed, through both sweeps of the line loop. A result stays where it was
// made: it is neither copied nor moved.
#pragma once

#include <cstdint>

#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/glyph_geometry.h"

namespace inkrec {

class LetterResult : public FigureGroup {
 public:
  LetterResult() : FigureGroup(&readings_, &glyph_) { composites = &composite_readings_; }
  LetterResult(const LetterResult&) = delete;
  LetterResult& operator=(const LetterResult&) = delete;
  LetterResult(LetterResult&&) = delete;
  LetterResult& operator=(LetterResult&&) = delete;

  // The step of the letter search that asked for the result's evaluation
  // (EvaluationReason in segmentation/stroke_group_evaluation.h); -1 until
  // it is given.
  std::int32_t reason = -1;

 private:
  AnswerList readings_;
  AnswerList composite_readings_;
  GlyphGeometry glyph_;
};

}  // namespace inkrec
