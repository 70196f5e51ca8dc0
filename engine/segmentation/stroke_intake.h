// The strokes of a run as the line pass takes them in: each pane stroke
// becomes a stroke record over the run's own copy of its points, and each
// analysis of the lines starts from a cleared line pass.
//
// A stroke record's number is its place in the strokes array, which is
// the stroke's place in the pane.
#pragma once

#include <cstdint>
#include <span>

#include "engine/records/glyph_geometry.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// Empties the stroke-pair table and makes room for the pairs of n strokes:
// 0, or -1.
int reserve_stroke_pairs(RecognitionContext& context, std::uint32_t n);

// Adds one pane stroke: copies its points into the run's point runs,
// appends its stroke record over the copy and prepares the record's
// geometry. With the caller's base lines asked for, the band must hold
// both values (neither -1) and is kept with the record. 0; -1 when the
// points cannot be copied (nothing is added); 5004 when no record can be
// appended (or the strokes would outnumber 16-bit indices); 4035 for a
// band without both values, the record staying added and prepared; the
// geometry's status when it cannot be prepared.
int add_figure_to_pane(RecognitionContext& context, std::span<const PointRecord> points,
                       const ReferenceBand& band);

// Clears what an analysis of the lines builds: the strokes' extrema, the
// settings, the lines and statistics, the bodies and links; every stroke
// loses its line. With `fresh` the stroke pairs are emptied too (they are
// measured anew); without it their distances are kept.
void reset_line_pass(RecognitionContext& context, bool fresh);

}  // namespace inkrec
