// The skew search: the slope of the lines of some handwriting, measured in
// up to seven trial rotations of the ink, in the order 0, +20, -20, +40,
// -40, +60, -60 degrees.
//
// Each trial looks at the ink turned by minus its angle, cuts it into line
// candidates (runs of consecutive strokes; a new one starts where the pen
// went back to begin a new line), fits a straight line through each and
// keeps the candidates that look like a written line: long and flat, with
// enough up-and-down swings of the pen. The search ends early once a trial
// measures a slope near its own angle with little scatter. The geometry is
// integer (thousandths of tablet units, whole degrees) except the slope and
// the residual of the line fit, which are doubles. The ink is only read.
#pragma once

#include <array>

#include "engine/foundation/stroke.h"

namespace inkrec {

inline constexpr std::array<int, 7> kSkewTrialAngles = {0, 20, -20, 40, -40, 60, -60};

struct SkewSearchOptions {
  // The ink is one line: every stroke but the last forms the only candidate.
  bool one_line = false;
  // A candidate of a single stroke may count as a line.
  bool single_stroke_lines = false;
  // Lines are written right to left, so the pen goes back rightwards to
  // start a new one.
  bool mirrored_order = false;
};

struct SkewEstimate {
  bool found = false;
  int angle = 0;  // the slope of the lines, whole degrees; y grows downward
  std::array<int, kSkewTrialAngles.size()> trials{};  // the trial angles measured, in order
  int trial_count = 0;
};

// Strokes without points take no part. 0; -1 when a work list cannot be
// made; -2 for a null stroke.
int estimate_skew(const StrokeList& strokes, const SkewSearchOptions& options,
                  SkewEstimate* estimate);

}  // namespace inkrec
