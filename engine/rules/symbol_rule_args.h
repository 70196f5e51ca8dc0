// What the symbol rule book reads of one stroke group and one candidate
// writing variant: the record the letter evaluation fills once per group
// (and sets `symbol` in for each candidate).
//
// Every pointer may be null where the field says so; the rule book only
// reads through it. The group's own measures (box, counts, extrema
// records, penalty block and weights) are computed by the letter
// evaluation before its candidate loop.
#pragma once

#include <cstdint>
#include <span>

#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"
#include "engine/records/letter_fields.h"
#include "engine/records/pair_table.h"
#include "engine/records/text_line.h"
#include "engine/rules/symbol_penalties.h"

namespace inkrec {

// The group measures the rule book reads beside the penalty block, in the
// order the letter evaluation keeps them after it.
struct SymbolWeights {
  std::int32_t descending_runs = 0;      // weight 10: the count of descending runs
  std::int32_t overlap = 0;              // weight 11: the overlap flag
  std::int32_t profile_penalty = 0;      // weight 12
  std::int32_t spaced_as_one = 0;        // weight 13: the two-figure width result
  std::int32_t small_parts_penalty = 0;  // weight 14: multiples of 450
};

// The line the group stands on, as the rule book sees it.
struct SymbolRuleLine {
  DynArray<FigureRecord>* figures = nullptr;  // the line's figures (their count: on the line)
  DynArray<StrokeRecord>* strokes = nullptr;  // the run's strokes, each with its line
  const PairTable* figure_pairs = nullptr;    // by body index
  const PairTable* stroke_pairs = nullptr;    // by stroke number
  TextLine* text_line = nullptr;              // its fits (the first and second are read)
  // The values kept for each point of each stroke, by stroke number; null
  // when the run keeps none (the hook rule then charges nothing).
  const PtrArray<DynArray<std::uint32_t>>* point_values = nullptr;
  bool neighbour_strokes = false;             // the neighbour flag
  std::int32_t mode = 0;                      // the line context's mode value
  std::int16_t reference_angle = 90;          // line-info value 4
  std::int16_t upper_height = 0;              // line-info value 5 (h5)
  std::int16_t reference_height = 0;          // line-info value 6 (h6)
};

struct SymbolRuleArgs {
  const Variant* symbol = nullptr;
  FigureGroup* group = nullptr;
  FigureRecord* first_figure = nullptr;  // the group's first figure; its run is "the run"
  Box16 box;                             // the group's box
  std::int32_t figure_count = 0;         // s
  std::int32_t member_count = 0;         // 1: the figure-pair table, else the stroke pairs
  std::span<const std::uint32_t> active_charsets;
  const PairMetrics* leading_pair = nullptr;  // the group's first pair entry, or null
  SymbolRuleLine line;
  std::int32_t partner_distance = 0x7fffffff;  // c13
  std::int32_t partner_angle = 0;              // a14
  std::int32_t line_angle = 90;                // a15
  std::int32_t size = 0;                       // L
  std::int32_t flat_column_share = 0;
  const FigureRecord* leading_figure = nullptr;  // the topmost figure, or null
  const FigureInfo* group_info = nullptr;
  const FigureInfo* one_figure_info = nullptr;  // for a one-figure group, else null
  const PenaltyBlock* penalties = nullptr;
  SymbolWeights weights;
  const FigureRecord* preceding_piece = nullptr;  // the piece before a one-figure group's
  // The longest run of flat columns in percent of the size (what the
  // evaluation measures), and the stroke records after and before the
  // group's with their boxes (null when none).
  std::int32_t longest_flat_run = 0;
  const StrokeRecord* next_stroke = nullptr;
  Box16 next_box;
  const StrokeRecord* previous_stroke = nullptr;
  Box16 previous_box;
};

}  // namespace inkrec
