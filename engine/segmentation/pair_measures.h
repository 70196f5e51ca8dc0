// The pair entries of the line pass: how two strokes, or two figures,
// lie to each other (distances, direction, vertical relation and, for
// figures, the ink of each in their common band of rows).
//
// An entry (i, j) is written into its place in the triangular table; a
// table still short of it is first filled up with unmeasured entries
// (distances 32767).
#pragma once

#include <cstdint>

#include "engine/records/recognition_context.h"

namespace inkrec {

// The entry of strokes j and i: with `distances` the four distances and
// the link distance (the least of them) are measured anew, otherwise kept;
// the angle from j's reference point to i's, the vertical relation of the
// two boxes and a link cost of 0. 0; -1 when the table cannot grow; -2 for
// a stroke or pair outside the table.
int measure_stroke_pair(RecognitionContext& context, std::uint32_t j, std::uint32_t i,
                        bool distances);

// The entry of bodies j < i as measure_stroke_pair gives it, with the line
// the two share (-1 when none) and a link distance that also counts the
// links joining each body on its stroke (-1 for two bodies of one stroke
// with one link between them). When the boxes overlap in height, the left
// and right body and the extent of each at the settings' slant over the
// rows they share. -1, -2 as above; the band measure's status.
int measure_figure_pair(RecognitionContext& context, std::uint32_t j, std::uint32_t i);

// Fills the figure-pair table: with the body-and-link split asked for, by
// measure_figure_pair over every pair of bodies; otherwise as a copy of the
// stroke pairs (there is then one body per stroke). The first non-zero
// status ends it.
int apply_baselines_to_figures(RecognitionContext& context);

}  // namespace inkrec
