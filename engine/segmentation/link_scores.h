// The link score of every pair of strokes: how likely the two lie on one
// text line, from how far apart they are across and along the writing,
// how much their heights overlap, how tall they are together and, in
// writing order, how close their places in it are. Higher is more likely;
// above 2000 is a strong link.
#pragma once

#include "engine/records/recognition_context.h"

namespace inkrec {

// The gap of a stroke pair split along the direction between the strokes'
// reference points: dx along x (mirrored for right-to-left writing) and dy
// along y.
struct PairGap {
  int dx = 0;
  int dy = 0;
};
PairGap pair_gap(const PairMetrics& entry, bool right_to_left);

// Writes each pair's score, saturated to 0..65535, as its link cost. A
// letter height of 0 counts as 1. 0; -2 for a missing pair entry.
int compute_link_scores(RecognitionContext& context);

}  // namespace inkrec
