// LineSet: the text lines of a run as the line grouping and the merging
// passes read and edit them.
//
// It names what those passes test (a stroke's box and line, a line's three
// fits at an abscissa, the link score of a stroke pair, the letter height
// H, the writing-order switch and the writing direction) and makes every
// change through two edits that keep the strokes' line indices, the
// lines' stroke lists, boxes and ids and the fits consistent:
// add_stroke_to_line and merge_lines. A stroke without a line reads as
// line -1 (its index 65535 never compares as a line).
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

class LineSet {
 public:
  explicit LineSet(RecognitionContext& context);

  RecognitionContext& context() { return context_; }
  // The settings' letter height.
  int height() const { return height_; }
  bool writing_order() const { return writing_order_; }
  bool right_to_left() const { return right_to_left_; }

  int stroke_count() const { return static_cast<int>(context_.strokes().size()); }
  StrokeRecord& stroke(int s) { return context_.strokes()[static_cast<std::uint32_t>(s)]; }
  Box16 stroke_box(int s) { return stroke(s).geometry.bounding_box(); }
  // The line of stroke s, -1 when it has none.
  int line_of(int s);
  bool exists(int s) const { return s >= 0 && s < stroke_count(); }

  int line_count() const { return static_cast<int>(context_.text_lines().size()); }
  TextLine& line(int k) { return context_.text_lines()[static_cast<std::uint32_t>(k)]; }
  const Box16& line_box(int k) { return line(k).box; }
  // The y of line k's first (upper), middle and third (base) fit at x.
  int f1(int k, int x) { return line(k).fits[0].y_at(x); }
  int f2(int k, int x) { return line(k).fits[1].y_at(x); }
  int f3(int k, int x) { return line(k).fits[2].y_at(x); }
  int first_stroke(int k) { return line(k).strokes[0]; }
  int last_stroke(int k) { return line(k).strokes.back(); }
  int line_stroke_count(int k) { return static_cast<int>(line(k).strokes.size()); }

  // The entry of strokes i and j; null when there is none.
  const PairMetrics* pair(int i, int j);
  // Its link score; -1 when there is no entry.
  int score(int i, int j);

  // Opens a new line at the end holding stroke i: 0, -1, or a status of
  // add_stroke_to_line.
  int open_line(int i);
  // Unites line k's box with stroke i's, adds i to its sorted strokes and
  // gives i the line. With `check`, the writing-order switch set and stroke
  // i - 2 on line k: a stroke i - 1 lying between i - 2 and i joins line k
  // first when it has no line, and brings its line into k when it is that
  // line's only stroke and a short, simple one. 0, -1, or -2 for a bad
  // stroke or line.
  int add_stroke_to_line(int k, int i, bool check);
  // Moves every stroke of line `source` into line `target`, erases the
  // source (the later lines' ids and their strokes' line indices close the
  // gap) and refits all lines. 0 at once when both are the same line; -2
  // for a bad line; -1.
  int merge_lines(int source, int target);
  // Erases line k, which must hold no stroke, closing the gap as
  // merge_lines does: 0 or -2.
  int remove_empty_line(int k);
  // Refits every line.
  int fit();

 private:
  void close_gap_after(int removed);

  RecognitionContext& context_;
  int height_;
  bool writing_order_;
  bool right_to_left_;
};

}  // namespace inkrec
