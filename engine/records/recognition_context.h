// RecognitionContext: the context of one recognition run, built by the
// recognition driver for each recognition or line request of a kernel and
// destroyed at the end of the call.
//
// It keeps references to the kernel's line work lists (figures, text lines,
// the figure-pair table, line records, candidate lists) and takes the
// kernel's character-to-slot map (one u32 per character code: a slot below
// 128, or 0xFFFFFFFF for none) with its mirrored-order switch. The passes
// of the run reach their kernel only through it, as a RunKernel. This
// header is what the kernel, the recognition driver, the bodies-and-links
// splitter, the rules and the segmentation rely on; the line loop's members
// (line information, mean gap, the letter objects of the lines) are defined
// with the context too.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_records.h"
#include "engine/records/gap_record.h"
#include "engine/records/line_metrics.h"
#include "engine/records/pair_table.h"
#include "engine/records/run_kernel.h"
#include "engine/records/text_line.h"
#include "engine/records/trajectory_record.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {

// The line work a kernel's letter search keeps from one run to the next
// and a run's context refers to.
struct LineWork {
  // Empties every list (buffers kept) and sets the values back to their
  // defaults.
  void clear();

  DynArray<StrokeRecord> strokes;
  DynArray<FigureRecord> bodies;
  DynArray<FigureRecord> links;
  DynArray<TextLine> text_lines;
  // The measures of the current line set, and of all the strokes.
  LineMetrics settings;
  LineMetrics statistics;
  // The run's own copy of each stroke's points, in stroke order: the
  // stroke records point into them, and a rotation of the ink turns them.
  PtrArray<DynArray<PointRecord>> point_runs{16, true};
  // The same points as they were taken in: every turn of the lines starts
  // from them, so turns never compound their rounding.
  PtrArray<DynArray<PackedPoint>> unturned_points{16, true};
  // The per-point values of each stroke the symbol rules read
  // (stroke_point_values.h), made on first use after the ink is turned.
  PtrArray<DynArray<std::uint32_t>> point_values{16, true};
  // Degrees the point runs are turned by (the straightening of the lines),
  // and whether the ink needed no straightening (a single stroke).
  std::int32_t line_rotation = 0;
  std::uint8_t lines_done = 0;
  // The vertical extrema of each stroke, as the line analysis found them.
  DynArray<ExtremumList> stroke_extrema;
  PairTable stroke_pairs;
  PairTable figure_pairs;
  std::int32_t mean_gap = 0;
  // The gaps between neighbouring elements of the figure output, one for
  // each pair (element i, element i + 1).
  DynArray<GapRecord> gaps;
  // Degrees the ink of the run was turned by, all corrections together
  // (the pane's skew search and the rotation of the lines): the one angle
  // the result boxes are turned back by.
  std::int32_t skew_correction = 0;
  // The candidate variants the letter evaluations of the run passed over
  // because the database lacks their shape or etalon (for the debug
  // output).
  std::uint32_t skipped_candidates = 0;
};

class RecognitionContext {
 public:
  // Both must outlive the context.
  RecognitionContext(RunKernel& kernel, LineWork& work) : kernel_(&kernel), work_(&work) {}

  RunKernel& kernel() const { return *kernel_; }

  // The pane's strokes in writing order; after the line pass each names its
  // TextLine by index.
  DynArray<StrokeRecord>& strokes() { return work_->strokes; }
  // Emptied between runs and filled by split_into_bodies_and_links.
  DynArray<FigureRecord>& bodies() { return work_->bodies; }
  DynArray<FigureRecord>& links() { return work_->links; }
  // Built by the line pass: each line holds its box, the sorted indices of
  // its strokes and three line fits filled with points of the line.
  DynArray<TextLine>& text_lines() { return work_->text_lines; }

  // The measures of the line set and of all the strokes.
  LineMetrics& settings() { return work_->settings; }
  LineMetrics& statistics() { return work_->statistics; }
  PtrArray<DynArray<PointRecord>>& point_runs() { return work_->point_runs; }
  PtrArray<DynArray<PackedPoint>>& unturned_points() { return work_->unturned_points; }
  LineWork& work() { return *work_; }
  DynArray<ExtremumList>& stroke_extrema() { return work_->stroke_extrema; }
  DynArray<GapRecord>& gaps() { return work_->gaps; }

  // Segmentation settings: slant in whole degrees (a value below 1 stands
  // for 90) and letter height.
  std::int16_t slant_angle() const { return work_->settings.slant_angle; }
  std::int16_t letter_height() const { return work_->settings.letter_height; }
  // Pane statistics: the mean height of the writing.
  std::int16_t mean_height() const { return work_->statistics.mean_height; }
  // Line information: slant in whole degrees, 90 for upright writing.
  std::int16_t line_slant_angle() const;
  // Robust mean of the mean row gaps between neighbouring fragments.
  std::int32_t mean_gap() const;
  void set_mean_gap(std::int32_t gap);

  // Pair measures between strokes, and between figures (bodies).
  PairTable& pair_table() { return work_->stroke_pairs; }
  PairTable& figure_pairs() { return work_->figure_pairs; }

  // For every TextLine in order, empties the covers and alternatives of its
  // word groups; the letter results stay with their lines.
  void release_line_objects();

 private:
  RunKernel* kernel_;
  LineWork* work_;
};

}  // namespace inkrec
