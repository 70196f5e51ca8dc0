// Helpers of the callback stage of a recognition (the stage itself is
// Kernel::deliver_results).
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/point.h"
#include "engine/kernel/result_choice.h"
#include "engine/segmentation/line_records.h"

namespace inkrec {

// The score of a word reading: 0 when its count is 0; else the costs of its
// elements plus its base cost plus its total divided by its count.
std::int32_t word_hypothesis_score(const WordHypothesis& hypothesis);

// Grows the choice's box by the points turned back by the skew correction
// (in degrees) that the recognition applied, so the box is in the caller's
// coordinates.
void turn_back_box(std::span<const PackedPoint> points, int correction, ResultChoice& choice);

}  // namespace inkrec
