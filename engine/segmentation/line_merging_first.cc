// The first merging pass: each line with the lines of the strokes written
// just before and after it.

#include <algorithm>
#include <climits>

#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/segmentation/line_merging.h"

namespace inkrec {
namespace {

constexpr int kNone = -1;

int bend_of(StrokeRecord& stroke) { return bend(figure_mark_block(stroke)); }

bool long_stroke(const GlyphGeometry& g, int h) {
  return turn_count_1(g) >= 10 && turn_count_2(g) >= 10 && path_length(g) >= 10u * h;
}

}  // namespace

int MergingPasses::merge_with_neighbours() {
  for (int k = 0; k < lines_.line_count();) {
    bool merged = false;
    if (const int status = examine_neighbours(k, &merged); status != kOk) return status;
    if (!merged) ++k;
  }
  return kOk;
}

// The writing neighbours of line k: with the writing-order switch the lines
// of the strokes written just before its first and after its last stroke,
// else the lines before and after it.
int MergingPasses::examine_neighbours(int k, bool* merged) {
  const int first = lines_.first_stroke(k);
  const int last = lines_.last_stroke(k);
  const int n = lines_.line_stroke_count(k);
  int p = kNone;
  int next = kNone;
  if (on_) {
    p = first > 0 ? lines_.line_of(first - 1) : kNone;
    next = lines_.exists(last + 1) ? lines_.line_of(last + 1) : kNone;
  } else {
    p = k - 1;
    next = k + 1 < lines_.line_count() ? k + 1 : kNone;
  }
  int target = kNone;
  if (n == 1) target = examine_single_stroke(k, p, next);
  if (target == kNone && n <= 2 && p >= 0 && on_) {
    const Box16 l = box(k);
    const int m = lines_.f2(p, cx(l));
    if (((width(k) < h_ && height(k) < 3 * h_ / 2) || (width(k) < 3 * h_ / 2 && height(k) < h_ / 3)) &&
        l.bottom - (m + h_ / 2) < 3 * h_ / 2 && (m - h_ / 2) - l.top < 3 * h_ / 2 &&
        l.top - (m + h_ / 2) < h_ / 2 && (m - h_ / 2) - l.bottom < h_ / 2 &&
        box(p).right - l.right < h_ / 2) {
      target = p;
    }
  }
  if (target == kNone && n > 3) target = examine_interleaved(k, p);
  if (target == kNone && n <= 3) target = examine_small(k, p, next);
  if (target == kNone) return kOk;
  *merged = true;
  return lines_.merge_lines(k, target);
}

// Steps for a line of one stroke S: a mark close after the stroke before
// it, a mark or flat stroke close before the next one, a dot over the
// previous line.
int MergingPasses::examine_single_stroke(int k, int p, int n) {
  const int s = lines_.first_stroke(k);
  const Box16 b = box(k);
  StrokeRecord& stroke = lines_.stroke(s);
  const GlyphGeometry& g = stroke.geometry;
  const bool has_before = s > 0;
  const bool has_after = lines_.exists(s + 1);
  const Box16 bp = has_before ? lines_.stroke_box(s - 1) : Box16{};
  const Box16 bn = has_after ? lines_.stroke_box(s + 1) : Box16{};
  const int q = (h_ / 4) * (h_ / 4) / 4;
  if (p >= 0 && on_) {
    const bool before_it = lines_.right_to_left() ? b.left <= bp.left : bp.left <= b.left;
    if (before_it && bp.top < b.top && b.width() <= 4 * h_ / 5 && b.height() <= 5 * h_ / 4 &&
        b.top - bp.bottom < 2 * h_) {
      return p;
    }
    if (close_mark(k) &&
        (turn_count_1(g) < 3 || turn_count_2(g) < 3 || path_length(g) < 6u * h_ || b.height() < h_ / 2)) {
      return p;
    }
  }
  if (n >= 0 && on_) {
    const int ld = lines_.pair(s, s + 1)->link_distance;
    const bool small = (b.width() < 3 * h_ && b.height() < 2 * h_) ||
                       (b.width() < 4 * h_ && b.height() < h_) || bend_of(stroke) < q;
    if (small && (ld < h_ / 5 || (ld < h_ / 2 && b.height() < h_ && bend_of(stroke) < q))) return n;
    if (flat_mark_before_next(k)) return n;
    if (k < n && !long_stroke(g, h_) && strongly_linked_ahead(k, n)) return n;
    if (p >= 0 && has_before && has_after && bp.top > b.bottom && bn.top > bp.top &&
        b.left - bp.left < 2 * h_) {
      if (p == 0) return p;
      const int y1 = lines_.f2(p - 1, cx(b));
      const int y2 = lines_.f2(p, cx(b));
      if (b.top - y1 > 2 * h_ / 3 && (y2 - b.bottom < 2 * h_ || y2 - b.bottom < 2 * (y2 - y1) / 3)) {
        return p;
      }
    }
  } else if (p >= 0 && has_before && bp.top > b.bottom &&
             !(b.height() >= 2 * h_ / 3 && b.width() >= h_ / 3)) {
    if (p == 0 || b.top - lines_.f2(p - 1, cx(b)) > 2 * h_ / 3) return p;
  }
  if (n >= 0 && p == n && on_ && has_before && has_after && b.top > bp.top && b.top > bn.top &&
      ((turn_count_1(g) < 4 && turn_count_2(g) < 4 && path_length(g) < 6u * h_) ||
       b.height() < h_ / 2)) {
    return p;
  }
  return kNone;
}

// A mark written close after the stroke before it.
bool MergingPasses::close_mark(int k) {
  const int s = lines_.first_stroke(k);
  const PairMetrics* ep = lines_.pair(s - 1, s);
  if (ep == nullptr) return false;
  const Box16 b = box(k);
  const int ld = ep->link_distance;
  const int q = (h_ / 4) * (h_ / 4) / 4;
  return (ld < h_ && ep->vertical_relation.overlap() > h_ / 2) ||
         (ld < h_ / 5 && b.width() < 3 * h_) ||
         (ld < h_ / 3 && bend_of(lines_.stroke(s)) < q && b.height() < h_);
}

// A flat stroke (a dash or bar along the writing) close before the next
// stroke.
bool MergingPasses::flat_mark_before_next(int k) {
  const int s = lines_.first_stroke(k);
  StrokeRecord& stroke = lines_.stroke(s);
  const int a = mark_angle(stroke.geometry);
  const int slant = lines_.context().settings().slant_angle;
  const bool flat = (a >= 151 && a <= 209) || (a >= -29 && a <= 29) ||
                    (slant >= 1 && slant + 20 < a && a <= 150) ||
                    (slant >= 1 && slant - 160 < a && a <= -30);
  const Box16 b = box(k);
  const bool low = b.height() < h_ / 2 && b.height() < b.width() / 6;
  if (!flat || !(raise_percentage(stroke) < 10 || low)) return false;
  if (lines_.pair(s, s + 1)->link_distance < h_) return true;
  const Box16 next = lines_.stroke_box(s + 1);
  return std::min(b.bottom, next.bottom) - std::max(b.top, next.top) > h_ / 2;
}

// One of the three strokes after line k's, while they lie on line n,
// links its stroke strongly.
bool MergingPasses::strongly_linked_ahead(int k, int n) {
  const int s = lines_.first_stroke(k);
  const int last = lines_.last_stroke(k);
  for (int t = last + 1; t <= last + 3 && lines_.exists(t) && lines_.line_of(t) == n; ++t) {
    if (lines_.score(s, t) > 2000) return true;
  }
  return false;
}

// Lines of more than three strokes whose strokes interleave with line p's
// in writing order.
int MergingPasses::examine_interleaved(int k, int p) {
  const int first = lines_.first_stroke(k);
  const int last = lines_.last_stroke(k);
  if (last - first < lines_.line_stroke_count(k) || p < 0 || !on_) return kNone;
  int short_runs = 0;
  int short_sum = 0;
  int start = kNone;
  for (int t = first + 1; t < last; ++t) {
    const int line = lines_.line_of(t);
    if (line == p && start == kNone) start = t;
    if (line == k && start != kNone) {
      if (t - start < 4) {
        ++short_runs;
        short_sum += t - start;
      }
      start = kNone;
    }
  }
  if (short_runs > 0 && lines_.line_stroke_count(p) <= short_sum + 3 &&
      (box(k).top - box(p).bottom < 2 * h_ || p == 0)) {
    return p;
  }
  return kNone;
}

// Lines of up to three strokes: beside the next line, inside the previous
// line's writing, specks at the ends, marks over their line.
int MergingPasses::examine_small(int k, int p, int n) {
  const Box16 l = box(k);
  const int first = lines_.first_stroke(k);
  const int last = lines_.last_stroke(k);
  const int strokes = lines_.line_stroke_count(k);
  const int x = cx(l);
  int d0 = INT_MAX;
  if (first > 0) {
    d0 = lines_.pair(first - 1, first)->pair_value();
  } else if (lines_.exists(last + 1)) {
    d0 = lines_.pair(last, last + 1)->pair_value();
  }
  if (n >= 0 && l.width() < 3 * h_) {
    const Box16 bn = box(n);
    const int vo = std::min(lines_.f3(n, x), int{l.bottom}) - std::max(lines_.f1(n, x), int{l.top});
    const bool near = lines_.right_to_left()
                          ? bn.right - l.left < 2 * h_ && l.right - bn.left < 2 * h_
                          : bn.left - l.right < 2 * h_ && l.left - bn.right < 2 * h_;
    if (near && (vo > 3 * h_ / 5 || (vo > h_ / 3 && l.width() < 2 * h_))) return n;
  }
  if (p == n && p >= 0 && on_ && lines_.exists(last + 1) && first > 0 &&
      lines_.stroke_box(first - 1).right < lines_.stroke_box(last + 1).left) {
    const Box16 lp = box(p);
    const int lf1 = lines_.f1(k, x);
    const int lf3 = lines_.f3(k, x);
    const int pf1 = lines_.f1(p, x);
    const int pf3 = lines_.f3(p, x);
    const bool apart = pf1 - lf3 > 2 * h_ / 3 && pf3 - lf3 > 2 * h_ && lp.top - l.bottom > h_ / 2 &&
                       lf3 - lf1 > 2 * h_ / 3 && l.width() > 3 * h_;
    if (!apart && !blocked_inside_previous(k, p) &&
        (lf1 < pf3 || (l.width() < 2 * h_ && l.top < lp.bottom + h_))) {
      return p;
    }
  }
  const bool at_an_end = first == 0 || last == lines_.stroke_count() - 1;
  const bool speck = l.height() <= 17 * h_ / 100 && l.width() <= 2 * h_ && at_an_end && d0 < h_;
  if (speck && on_) {
    const int into = first == 0 ? n : p;
    if (into >= 0) return into;
  }
  if (on_ && last - first >= 3) {
    if (p >= 0 && under_earlier_wide_line(k, p, x)) return p;
    return kNone;
  }
  if (last - first < 4 && on_ && p >= 0 && first > 0 &&
      lines_.stroke_box(first - 1).top > l.bottom && l.height() <= 3 * h_ / 2) {
    if (p == 0) return p;
    const int c = width(p) < 3 * h_ ? (box(p).top + box(p).bottom) / 2 : lines_.f2(p, x);
    if (!above_earlier_line(k, p, c)) return p;
  }
  if (strokes == 1 && n >= 0) {
    const int top = lines_.f1(n, x);
    const int bottom = lines_.f3(n, x);
    IntervalRelation band;
    band.compute(top, bottom, l.top, l.bottom);
    if (band.overlap() >= bottom - top) return n;
  }
  return kNone;
}

// Line k lies inside line p's writing, but under a line j written before p
// whose base it nearly reaches.
bool MergingPasses::blocked_inside_previous(int k, int p) {
  const int x = cx(box(k));
  const int lf3 = lines_.f3(k, x);
  for (int j = 0; j < p; ++j) {
    const int jf3 = lines_.f3(j, x);
    if (lf3 < jf3 + (lines_.f1(p, x) - jf3) / 3 && width(j) > 2 * h_ &&
        lines_.f2(j, x) + 2 * h_ < lines_.f2(p, x)) {
      return true;
    }
  }
  return false;
}

// Line k, written while line p was written, lies near p (unless it lies
// near the base of a wide line above p).
bool MergingPasses::under_earlier_wide_line(int k, int p, int x) {
  const int first = lines_.first_stroke(k);
  const int last = lines_.last_stroke(k);
  bool inside = false;
  for (int t = first + 1; t < last; ++t) inside = inside || lines_.line_of(t) == p;
  const int g = lines_.f1(k, x) - lines_.f3(p, x);
  const int t = lines_.f3(k, x) - lines_.f1(k, x);
  if (!inside || !(g < h_ / 2 || width(k) < 2 * h_ || t < h_ / 2)) return false;
  const int pf1 = lines_.f1(p, x);
  for (int j = 0; j < p; ++j) {
    const int jf3 = lines_.f3(j, x);
    if (jf3 + h_ / 2 < pf1 && lines_.f3(k, x) - jf3 < (pf1 - jf3) / 3 && width(j) > 3 * h_) {
      return false;
    }
  }
  return true;
}

// A wide line j before p lies above p's centre c, and line k lies nearer
// to j than a third of the way down to p.
bool MergingPasses::above_earlier_line(int k, int p, int c) {
  const Box16 l = box(k);
  const int x = cx(l);
  for (int j = 0; j < p; ++j) {
    const int jf2 = lines_.f2(j, x);
    if (width(j) > 3 * h_ && height(j) > h_ / 2 && jf2 + 2 * h_ < c &&
        c - l.top / 2 - l.bottom / 2 >= 2 * (c - jf2) / 3) {
      return true;
    }
  }
  return false;
}

}  // namespace inkrec
