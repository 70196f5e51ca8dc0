// GroupMeasures: everything the letter evaluation measures of one stroke
// group before it judges the candidate variants, taken once per group so
// that the judgement of a candidate only compares and looks up.
//
// The measures are the group's frame (its figures, box, size and the line
// it stands on), its pair-table facts (the leading pairs, the widest gap
// between its strokes, its nearest partner), the profile of its ink (empty
// rows and columns, flat columns and a flat bridge between tall parts),
// its extrema records, the places of a mark above or below a letter, the
// shape penalties of a one-figure group, the segment features, the end
// hook and the neighbouring stroke records. measure_group fills them from
// the line work of the running recognition; the group's lazily built
// blocks (raster, profile, mark block) are built on the way.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"
#include "engine/records/letter_fields.h"
#include "engine/records/mark_block.h"
#include "engine/records/recognition_context.h"
#include "engine/rules/mark_tests.h"
#include "engine/rules/symbol_penalties.h"
#include "engine/rules/symbol_rule_args.h"

namespace inkrec {

struct GroupMeasures {
  // The frame.
  FigureRecord* first_figure = nullptr;
  const FigureRecord* leading_figure = nullptr;  // the topmost (least top key)
  TextLine* text_line = nullptr;                 // the first figure's line, or null
  Box16 box;                                     // the group's geometry box
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t size = 1;  // the line's letter size, at least 1
  std::int32_t figure_count = 0;
  std::int32_t member_count = 0;
  std::uint8_t one_figure_mark = 0;  // the group was formed as a single mark
  std::int16_t line_angle = 90;        // of the line information
  std::int16_t upper_height = 0;       // of the line information
  std::int16_t reference_height = 0;   // of the line information
  ReferenceBand band;                  // the element's base lines
  const PairMetrics* leading_pair = nullptr;  // of the first two members
  std::int32_t stroke_gap = -1;

  // The nearest partner of a one-member group (or of its one stroke).
  std::int32_t partner_distance = 0x7fffffff;
  std::int32_t partner_angle = 0;
  std::int32_t angle_deviation = 0;  // |line angle - partner angle|

  // The ink profile.
  std::int32_t empty_rows = 0;     // total length of the empty row runs
  std::int32_t empty_columns = 0;  // and of the empty column runs
  std::int32_t flat_column_share = 0;  // percent of the columns
  std::int32_t longest_flat_run = 0;   // percent of the size
  std::int32_t bridge = 0;             // percent of the size

  // The element's mark measures.
  std::int32_t mark_class = 0;
  std::int32_t second_class = 0;
  std::int32_t quality = 0;
  std::int32_t mark_angle = 0;
  MarkBlock mark;
  std::int16_t top_key = 0;

  // Extrema, marks and shape penalties.
  FigureInfo group_info;
  FigureInfo one_figure_info;  // of a one-figure group only
  MarkPlace upper_mark;
  MarkPlace lower_mark;
  PenaltyBlock penalties;
  SymbolWeights weights;
  const FigureRecord* preceding_piece = nullptr;  // of a one-figure group
  // The piece that continues the stroke of the first figure that has one
  // (looked for with the body-and-link switch on), and its box.
  const FigureRecord* following_piece = nullptr;
  Box16 following_box;
  const StrokeRecord* next_stroke = nullptr;
  Box16 next_box;
  const StrokeRecord* previous_stroke = nullptr;
  Box16 previous_box;
  std::int32_t strokes_on_line = 0;  // stroke records on the group's line

  // Segment features of the element.
  std::int32_t segment_count = 0;
  std::uint8_t segment_masks[2] = {0, 0};
  std::int32_t fifth_feature = 0;
  std::int32_t second_count = 0;
  // 0 or 400: a final hook pulled back left under a one-figure letter.
  std::int32_t end_hook = 0;
};

// Measures the group on the line work of the running recognition, in the
// order the evaluation needs them: the frame (first figure, counts, box,
// size, line information, leading pairs, stroke gap, leading figure), the
// partner, the profile, the extrema and mark places, then (unless the stop
// flag is seen there: 4034) the shape penalties of a one-figure group, the
// group tests, the neighbours, the segment features and the end hook.
// kOk; kBadArgument for an empty group, a null figure, a group without
// geometry or a missing pair-table entry; else the first failing status
// of a pair query, an extrema build or a shape test.
int measure_group(RecognitionContext& context, FigureGroup& group, GroupMeasures* m);

}  // namespace inkrec
