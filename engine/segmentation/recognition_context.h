// RecognitionContext: the context of one recognition run, built by the
// recognition driver for each recognition or line request of a kernel and
// destroyed at the end of the call.
//
// It keeps references to the kernel's line work lists (figures, text lines,
// the figure-pair table, line records, candidate lists) and takes the
// kernel's character-to-slot map (one u32 per character code: a slot below
// 128, or 0xFFFFFFFF for none) with its mirrored-order switch. This header
// is what the kernel, the recognition driver and the bodies-and-links
// splitter rely on; the segmentation code defines the class's state and its
// members.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class Kernel;
class PairTable;
class TextLine;
struct FigureRecord;
struct StrokeRecord;

class RecognitionContext {
 public:
  Kernel& kernel() const;

  // The pane's strokes in writing order; after the line pass each names its
  // TextLine by index.
  DynArray<StrokeRecord>& strokes();
  // Emptied between runs and filled by split_into_bodies_and_links.
  DynArray<FigureRecord>& bodies();
  DynArray<FigureRecord>& links();
  // Built by the line pass: each line holds its box, the sorted indices of
  // its strokes and three line fits filled with points of the line.
  DynArray<TextLine>& text_lines();

  // Segmentation settings: slant in whole degrees (a value below 1 stands
  // for 90) and letter height.
  std::int16_t slant_angle() const;
  std::int16_t letter_height() const;
  // Pane statistics: the mean height of the writing.
  std::int16_t mean_height() const;
  // Line information: slant in whole degrees, 90 for upright writing.
  std::int16_t line_slant_angle() const;
  // Robust mean of the mean row gaps between neighbouring fragments.
  std::int32_t mean_gap() const;
  void set_mean_gap(std::int32_t gap);

  // Pair measures between strokes.
  PairTable& pair_table();

  // For every TextLine in order, empties the result array of each of the
  // line's letter objects.
  void release_line_objects();
};

}  // namespace inkrec
