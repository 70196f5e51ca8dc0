// The merging passes over the text lines: after the first assignment of
// strokes to lines (line_grouping.h) has fitted its lines, these join the
// small lines it leaves to the lines they belong to, in this order:
//   1. each line with its neighbours in writing: dots and accents, close
//      marks, a stroke written into another line's run, specks at the ends;
//   2. consecutive lines that are one line split in two;
//   3. lines that lie across each other;
//   4. strokes stranded between two wide lines move to the nearer one;
//   5. small lines join a wide line written before them;
// and for inputs of exactly two or three strokes, a mark above a stem
// joins the stem's line.
//
// Every change goes through LineSet::merge_lines and add_stroke_to_line,
// so afterwards the strokes' line indices, the lines' stroke lists, boxes
// and ids and the fits agree. A line index of a stroke without a line never
// compares as a line.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/segmentation/line_set.h"

namespace inkrec {

// 0 or the first failing merge's status.
int run_merging_passes(LineSet& lines);

class MergingPasses {
 public:
  explicit MergingPasses(LineSet& lines);

  int run();

 private:
  // The first pass (line_merging_first.cc).
  int merge_with_neighbours();
  // Merges line k where one of its tests says: *merged tells whether it did.
  int examine_neighbours(int k, bool* merged);
  // The line line k is to be merged into by each group of tests; -1 for
  // none.
  int examine_single_stroke(int k, int p, int n);
  int examine_interleaved(int k, int p);
  int examine_small(int k, int p, int n);
  bool close_mark(int k);
  bool flat_mark_before_next(int k);
  bool strongly_linked_ahead(int k, int n);
  bool blocked_inside_previous(int k, int p);
  bool under_earlier_wide_line(int k, int p, int x);
  bool above_earlier_line(int k, int p, int c);

  // The later passes (line_merging.cc).
  int merge_consecutive();
  bool split_line(int k);
  bool upper_part_of_next(int a, int b);
  bool lower_part_of_previous(int a, int b);
  bool end_mark(int a, int b, int k);
  int merge_crossing();
  bool crossing(int a, int b);
  bool tops_apart(int a, int b);
  bool overlapping_bands(int a, int b);
  int move_stranded_strokes();
  int move_strokes_of(int i, bool* removed);
  int merge_small_lines();
  int target_of_small_line(int k);
  int merge_small_inputs();
  bool stacked_pair(int a, int b, bool classes_known);

  // Measures shared by the passes.
  Box16 box(int k) { return lines_.line_box(k); }
  static int cx(const Box16& b) { return (b.left + b.right) / 2; }
  int width(int k) { return box(k).width(); }
  int height(int k) { return box(k).height(); }
  // Whether b starts less than `gap` back from a's end along the writing.
  bool follows_within(const Box16& a, const Box16& b, int gap) const;

  LineSet& lines_;
  const int h_;
  const bool on_;
};

}  // namespace inkrec
