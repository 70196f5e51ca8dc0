// The attach test of the hypothesis graph: whether a figure j of a text
// line lies close enough to an anchor figure i, or in a place where a part
// of the anchor's letter would stand (above it along the slant, on its
// stroke, on the stroke written just before or after it), to be tried
// with it as one letter.
//
// Thresholds are taken from the line set once (h the letter height, s the
// upper height, a' the slant folded into 0..180): the near limit N = 4h/5,
// the side limit S = 2h/5, and three windows of pair angles (the angle of
// the pair entry folded into 0..180) about the upright, which follow the
// slant when it lies within 46..134 degrees.
//
// The fields the letter search leaves open are read so (letter_fields.h):
// a figure's size is its mark length (the diagonal of its box), the two
// kind fields its mark class and second class (kind 3 when either is 3),
// and a figure is flat when its box is more than twice as wide as high.
// The pair distance is the pair entry's link distance; a stroke pair's
// count is its pair value (the strokes touch below 2). The "third key" of
// a figure is the index of its first point in its stroke.
#pragma once

#include <cstdint>

#include "engine/records/figure_records.h"
#include "engine/records/fragment_state.h"

namespace inkrec {

struct AngleWindow {
  int low = 0;
  int high = 0;
  bool holds(int angle) const { return low <= angle && angle <= high; }
};

class AttachTest {
 public:
  explicit AttachTest(FragmentState& state);

  // Whether j attaches to the anchor i, whose distance limit is L: 0 with
  // *attached set or cleared; -2 for a missing pair entry or stroke.
  int test(FigureRecord& i, FigureRecord& j, int limit, bool* attached);

  // dy moved along the slant: dy * tan(a' - 90).
  int slant_shift(int dy) const;
  int h() const { return h_; }
  const AngleWindow& wide() const { return wide_; }

 private:
  struct Pair;
  int attached_by_place(Pair& p, bool* attached);
  int attached_on_strokes(Pair& p, bool* attached);
  bool attached_in_cone(const Pair& p) const;
  bool attached_beside_neighbour(const Pair& p, int piece_offset);

  FragmentState& state_;
  int h_;
  int s_;
  int slant_;  // a' of the line set
  int near_;
  int side_;
  AngleWindow wide_;
  AngleWindow middle_;
  AngleWindow narrow_;
};

// Clears *flag when link b is too small to stand between a and another
// figure: no side of its box above h/5 (held to 3..15) while it lies at
// least max(h/5, 6) from a. 0; -2 when the pair has no entry.
int reject_small_link(FragmentState& state, const FigureRecord& a, const FigureRecord& b,
                      std::uint8_t* flag);

}  // namespace inkrec
