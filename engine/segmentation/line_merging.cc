// The merging passes after the first: consecutive lines, crossing lines,
// stranded strokes, small lines, and the rules for two or three strokes.

#include "engine/segmentation/line_merging.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"

namespace inkrec {
namespace {

constexpr int kNone = -1;
constexpr std::uint32_t kGreekCharset = 25;

// Over the points of a line's strokes: the share of those whose offset
// from a reference meets each test.
struct PointShares {
  std::int64_t count = 0;
  std::int64_t above = 0;  // offset above the upper limit
  std::int64_t below = 0;  // offset below 0
  std::int64_t far = 0;    // offset below the far limit
  double share(std::int64_t n) const { return count == 0 ? 0.0 : static_cast<double>(n) / count; }
};

}  // namespace

MergingPasses::MergingPasses(LineSet& lines)
    : lines_(lines), h_(lines.height()), on_(lines.writing_order()) {}

int run_merging_passes(LineSet& lines) { return MergingPasses(lines).run(); }

int MergingPasses::run() {
  int status = merge_with_neighbours();
  if (status == kOk) status = merge_consecutive();
  if (status == kOk) status = merge_crossing();
  if (status == kOk && on_) status = move_stranded_strokes();
  if (status == kOk) status = merge_small_lines();
  if (status == kOk) status = merge_small_inputs();
  return status;
}

bool MergingPasses::follows_within(const Box16& a, const Box16& b, int gap) const {
  return lines_.right_to_left() ? a.left - b.right > -gap : b.left - a.right > -gap;
}

// ---- Second pass: consecutive lines that are one line split in two.

int MergingPasses::merge_consecutive() {
  for (int k = 1; k < lines_.line_count();) {
    if (!split_line(k)) {
      ++k;
      continue;
    }
    if (const int status = lines_.merge_lines(k, k - 1); status != kOk) return status;
  }
  return kOk;
}

bool MergingPasses::split_line(int k) {
  const int a = k - 1;
  const int b = k;
  const Box16 ba = box(a);
  const Box16 bb = box(b);
  const double h = std::max(h_, 1);
  const double wa = width(a) / h;
  const double wb = width(b) / h;
  const int count_a = lines_.line_stroke_count(a);
  const int count_b = lines_.line_stroke_count(b);
  if (wb > 4.0 && wa / wb < 2.0 && upper_part_of_next(a, b)) return true;
  if (wa > 4.0 && wb / wa < 2.0 && lower_part_of_previous(a, b)) return true;
  if (wa > 4.0 && count_b == 1 && bb.width() < 2 * h_ && follows_within(ba, bb, 2 * h_) &&
      bb.top - ba.bottom < h_ && ba.top - bb.top < h_ / 2) {
    return true;
  }
  if (wb > 4.0 && count_a <= 2 && ba.width() < h_ && follows_within(ba, bb, h_ / 2) &&
      ba.top - bb.bottom < h_) {
    return true;
  }
  if (wa > 3.5 && count_b <= 2 && bb.width() < h_ && follows_within(ba, bb, 2 * h_ / 3) &&
      bb.top - ba.bottom < h_ && end_mark(a, b, k)) {
    return true;
  }
  if (wb > 8.0 && count_a <= 6 && ba.width() < 2 * h_ && follows_within(ba, bb, h_) &&
      ba.top - bb.bottom < h_ && !(bb.top - ba.top >= 3 * h_ / 2 && bb.left - ba.left <= h_ / 2)) {
    return true;
  }
  if (ba.left < bb.left && bb.right < ba.right) {
    const int x = cx(bb);
    const int top = lines_.f1(a, x);
    if (bb.bottom - top > h_ / 2 && bb.top < lines_.f3(a, x) && ba.width() > 4 * bb.width() &&
        bb.top - top < h_ / 2) {
      return true;
    }
  }
  return on_ && wa > 4.0 && 3 * wb < wa && ba.left < bb.left && ba.right > bb.right &&
         std::min(ba.bottom, bb.bottom) - std::max(ba.top, bb.top) > 0 &&
         lines_.first_stroke(a) < lines_.first_stroke(b) &&
         lines_.last_stroke(a) - lines_.last_stroke(b) > 2;
}

// Line a's ink lies mostly at or below the top of line b.
bool MergingPasses::upper_part_of_next(int a, int b) {
  PointShares s;
  for (const std::uint16_t t : lines_.line(a).strokes) {
    const PointSpan points = lines_.stroke(t).run.span();
    for (std::int32_t k = 0; k < points.size(); ++k) {
      const int d = lines_.f1(b, points[k].x) - points[k].y;
      ++s.count;
      if (d > h_ / 2) ++s.above;
      if (d < 0) ++s.below;
    }
  }
  std::int64_t points_b = 0;
  for (const std::uint16_t t : lines_.line(b).strokes) points_b += lines_.stroke(t).run.count;
  const double fa = s.share(s.above);
  const double fb = s.share(s.below);
  const Box16 ba = box(a);
  const Box16 bb = box(b);
  return (fa <= 0.7 && fb > 0.05 && bb.left - ba.right > -2 * h_) ||
         (fb > 0.95 && ba.top - bb.top < 2 * h_) ||
         (fa <= 0.7 && fb > 0.3 && bb.left - ba.right > -3 * h_) ||
         (std::min(ba.bottom, bb.bottom) - std::max(ba.top, bb.top) > h_ && fa <= 0.8 &&
          fb > 0.15 &&
          std::int64_t{bb.width()} * s.count < 3 * std::int64_t{ba.width()} * points_b);
}

// Line b's ink lies mostly at or above the base of line a.
bool MergingPasses::lower_part_of_previous(int a, int b) {
  PointShares s;
  for (const std::uint16_t t : lines_.line(b).strokes) {
    const PointSpan points = lines_.stroke(t).run.span();
    for (std::int32_t k = 0; k < points.size(); ++k) {
      const int d = points[k].y - lines_.f3(a, points[k].x);
      ++s.count;
      if (d > h_ / 2) ++s.above;
      if (d < 0) ++s.below;
      if (d < -3 * h_) ++s.far;
    }
  }
  if (s.far != 0) return false;
  const double gb = s.share(s.above);
  const double ga = s.share(s.below);
  const Box16 ba = box(a);
  const Box16 bb = box(b);
  if ((gb <= 0.7 && ga > 0.05 && bb.left - ba.right > -2 * h_) || ga > 0.95) return true;
  const int slant = lines_.context().settings().slant_angle;
  if (slant < 1 || slant >= 180 || gb > 0.7 || ga <= 0.15) return false;
  const int tangent = scale_by_tangent(slant, 1000);
  const int shift = tangent == 0 ? 0 : bb.height() * 1000 / tangent;
  return bb.left - shift - ba.right > -2 * h_;
}

// A small line b at the end of line a, unless b lies near the middle of
// the line before a, which overlaps a.
bool MergingPasses::end_mark(int a, int b, int k) {
  if (k == 1) return true;
  if (width(a) <= 3 * h_) return false;
  const int a0 = k - 2;
  const Box16 bb = box(b);
  const int y0 = lines_.f2(a0, cx(bb));
  const bool beside = lines_.right_to_left() ? box(a0).left < box(a).right
                                             : box(a0).right > box(a).left;
  return !(width(a0) >= 2 * h_ && bb.top - y0 <= (lines_.f2(a, cx(bb)) - y0) / 3 && beside);
}

// ---- Third pass: lines lying across each other.

int MergingPasses::merge_crossing() {
  for (int a = 0; a < lines_.line_count(); ++a) {
    for (int b = a + 1; b < lines_.line_count() && (!on_ || b == a + 1);) {
      if (!crossing(a, b)) {
        ++b;
        continue;
      }
      if (const int status = lines_.merge_lines(b, a); status != kOk) return status;
      b = a + 1;
    }
  }
  return kOk;
}

// Lines written apart in time whose middles lie far apart in height.
bool MergingPasses::tops_apart(int a, int b) {
  const Box16 ba = box(a);
  const Box16 bb = box(b);
  return on_ && lines_.line(b).id >= lines_.line(a).id &&
         std::abs(lines_.f2(a, ba.left / 2 + ba.right / 2) -
                  lines_.f2(b, bb.left / 2 + bb.right / 2)) >= 2 * h_;
}

bool MergingPasses::crossing(int a, int b) {
  const Box16 ba = box(a);
  const Box16 bb = box(b);
  const int x = (ba.left + bb.right) / 2;
  const int a1 = lines_.f1(a, x);
  const int a3 = lines_.f3(a, x);
  const int b1 = lines_.f1(b, x);
  const int b3 = lines_.f3(b, x);
  const int a_after_b = ba.left - bb.right;  // A begins after B ends
  const int b_after_a = bb.left - ba.right;
  bool f = false;
  if (a1 < b1 && b1 < a3) {
    const bool apart = ba.left >= bb.left ? a_after_b <= -h_ || a_after_b >= 3 * h_ || tops_apart(a, b)
                                          : b_after_a <= -h_;
    f = !apart;
  }
  if (a1 < b3 && b3 < a3) {
    f = f || (ba.left >= bb.left ? a_after_b > -h_ : b_after_a > -h_);
  }
  if (b1 < a3 && a3 < b3) {
    f = f || (ba.left >= bb.left
                  ? a_after_b > -h_ && a_after_b < 3 * h_ && !tops_apart(a, b)
                  : b_after_a > -h_);
  }
  if (f && !(ba.width() >= 3 * h_ && bb.width() >= 3 * h_) &&
      std::abs(ba.right - bb.left) > 3 * h_ && std::abs(bb.right - ba.left) > 3 * h_) {
    LineFit* fa = lines_.line(a).fits;
    LineFit* fb = lines_.line(b).fits;
    const double turn =
        ((fa[2].slope() + fa[0].slope()) - (fb[2].slope() + fb[0].slope())) * 0.5;
    if (std::abs(turn) > 0.05) f = false;
  }
  return f || overlapping_bands(a, b);
}

// The two lines share much of their height where they overlap along the
// writing, and neither lies by the middle of its other neighbour.
bool MergingPasses::overlapping_bands(int a, int b) {
  const Box16 ba = box(a);
  const Box16 bb = box(b);
  const int l = std::max(ba.left, bb.left);
  const int r = std::min(ba.right, bb.right);
  if (r <= l || (r - l >= ba.width() / 2 && r - l >= bb.width() / 2)) return false;
  const int ta = std::max<int>(lines_.f1(a, l), ba.top);
  const int bta = std::min<int>(lines_.f3(a, r), ba.bottom);
  const int tb = std::max<int>(lines_.f1(b, l), bb.top);
  const int btb = std::min<int>(lines_.f3(b, r), bb.bottom);
  const int t = std::max(ta, tb);
  const int u = std::min(bta, btb);
  const bool guard =
      (ba.width() < 3 * h_ && a >= 1 && lines_.f2(a - 1, cx(ba)) + h_ / 2 - ta > h_ / 5) ||
      (bb.width() < 3 * h_ && b + 1 < lines_.line_count() &&
       btb - (lines_.f2(b + 1, cx(bb)) - h_ / 2) > h_ / 5);
  return !guard && u > t && (3 * (u - t) > bta - ta || 3 * (u - t) > btb - tb);
}

// ---- Fourth pass: strokes stranded between two wide lines.

int MergingPasses::move_stranded_strokes() {
  for (int i = 0; i < lines_.line_count();) {
    bool removed = false;
    if (lines_.line_stroke_count(i) >= 2) {
      if (const int status = move_strokes_of(i, &removed); status != kOk) return status;
    }
    if (!removed) ++i;
  }
  return kOk;
}

namespace {

// Whether line k holds a stroke meeting the test.
template <typename Test>
bool holds_stroke(LineSet& lines, int k, Test test) {
  for (const std::uint16_t t : lines.line(k).strokes) {
    if (test(static_cast<int>(t))) return true;
  }
  return false;
}

}  // namespace

// Moves the strokes of line i lying well below its band into the wide
// line below, and those well above into the wide line above, when that
// line holds strokes on the same side written around them. Line i keeps
// its other strokes; it goes when none is left.
int MergingPasses::move_strokes_of(int i, bool* removed) {
  const Box16 li = box(i);
  const int middle = li.top + li.bottom;
  int up = kNone;
  int down = kNone;
  for (int j = 0; j < i; ++j) {
    if (box(j).top + box(j).bottom < middle && width(j) > 2 * h_) up = j;
  }
  for (int j = lines_.line_count() - 1; j > i; --j) {
    if (box(j).top + box(j).bottom > middle && width(j) > 2 * h_) down = j;
  }
  DynArray<std::uint16_t> strokes;
  if (strokes.assign(lines_.line(i).strokes) != kOk) return kOutOfMemory;
  bool moved = false;
  for (const std::uint16_t s : strokes) {
    const Box16 b = lines_.stroke_box(s);
    const int m = lines_.f2(i, cx(b));
    const int hi = m + h_ / 2;
    const int lo = m - h_ / 2;
    int target = kNone;
    if (b.top > hi || (b.bottom - hi > b.height() / 2 && b.bottom - hi > 3 * h_ / 2)) {
      if (down >= 0 &&
          holds_stroke(lines_, down, [&](int t) {
            return t < s && lines_.stroke_box(t).bottom >= lines_.f2(down, cx(lines_.stroke_box(t)));
          }) &&
          lines_.f2(down, cx(b)) - h_ / 2 - b.bottom < 3 * h_ / 2 && b.left - box(down).right < 2 * h_ &&
          box(down).left - b.right < 2 * h_) {
        target = down;
      }
    } else if (b.bottom < lo || (lo - b.top > b.height() / 2 && lo - b.top > 3 * h_ / 2)) {
      if (up >= 0 &&
          holds_stroke(lines_, up, [&](int t) {
            return t > s && lines_.stroke_box(t).top <= lines_.f2(up, cx(lines_.stroke_box(t)));
          }) &&
          holds_stroke(lines_, up, [&](int t) { return t == s + 1; }) &&
          b.top - (lines_.f2(up, cx(b)) + h_ / 2) < 3 * h_ / 2 && b.left - box(up).right < 2 * h_ &&
          box(up).left - b.right < 2 * h_) {
        target = up;
      }
    }
    if (target == kNone) continue;
    if (const int status = lines_.add_stroke_to_line(target, s, false); status != kOk) {
      return status;
    }
    moved = true;
  }
  if (!moved) return kOk;
  TextLine& line = lines_.line(i);
  DynArray<std::uint16_t> kept;
  for (const std::uint16_t s : strokes) {
    if (lines_.line_of(s) == i && kept.push_back(s) != kOk) return kOutOfMemory;
  }
  line.strokes.swap(kept);
  for (std::uint32_t k = 0; k < line.strokes.size(); ++k) {
    const Box16 b = lines_.stroke_box(line.strokes[k]);
    if (k == 0) {
      line.box = b;
    } else {
      line.box.unite(b);
    }
  }
  if (line.strokes.empty()) {
    *removed = true;
    if (const int status = lines_.remove_empty_line(i); status != kOk) return status;
  }
  return lines_.fit();
}

// ---- Fifth pass: small lines joining a wide line written before them.

int MergingPasses::merge_small_lines() {
  for (int k = 1; k < lines_.line_count();) {
    const int target = target_of_small_line(k);
    if (target == kNone) {
      ++k;
      continue;
    }
    if (const int status = lines_.merge_lines(k, target); status != kOk) return status;
  }
  return kOk;
}

int MergingPasses::target_of_small_line(int k) {
  const Box16 l = box(k);
  const int count = lines_.line_stroke_count(k);
  const std::int32_t mark = mark_class(lines_.stroke(lines_.first_stroke(k)).geometry);
  const bool mc = count == 1 && h_ < l.height() && l.height() < 2 * h_ && (mark == 3 || mark == 4);
  const bool small = (l.height() < h_ / 2 && l.width() < h_ / 2) ||
                     (l.height() < h_ && l.width() < h_ / 2 && on_ &&
                      l.bottom + h_ < lines_.context().settings().box.bottom);
  if (!small && !mc) return kNone;
  const int x = l.left;
  for (int j = 0; j < k; ++j) {
    const Box16 bj = box(j);
    if (bj.height() < h_ / 2 || bj.width() < 3 * h_) continue;
    const int j2 = lines_.f2(j, x);
    if (mc) {
      if (l.bottom > j2 && l.left > bj.left + 3 * h_ && l.top - j2 < h_) {
        const int d = j + 1 < k ? lines_.f2(j + 1, x) - j2 : -1;
        if (d < 0 || l.top - j2 < d / 4) return j;
      }
      continue;
    }
    const int j3 = lines_.f3(j, x);
    const bool sits = (l.bottom - j3 <= h_ / 3 || (j + 1 == k && l.bottom - j3 <= h_)) &&
                      l.left + 2 * h_ > bj.left && l.right - 2 * h_ < bj.right;
    if (j >= 1 && box(j - 1).height() >= h_ / 2 && box(j - 1).width() >= 2 * h_) {
      const Box16 b0 = box(j - 1);
      const int gap = j3 - lines_.f3(j - 1, x);
      if (gap >= 1 && l.bottom - lines_.f3(j - 1, x) < gap / 3 && l.left + 2 * h_ > b0.left &&
          l.right - 2 * h_ < b0.right) {
        return j - 1;
      }
      if (lines_.f1(j, x) - l.top < gap && sits) return j;
    } else if (lines_.f1(j, x) - l.top < 2 * h_ && sits) {
      return j;
    }
  }
  return kNone;
}

// ---- Inputs of two or three strokes: a mark above a stem.

// Strokes a and b lie one above the other (their heights apart, not side
// by side), and their classes are not all unknown.
bool MergingPasses::stacked_pair(int a, int b, bool classes_known) {
  const Box16 ba = lines_.stroke_box(a);
  const Box16 bb = lines_.stroke_box(b);
  if (std::max(ba.top, bb.top) <= std::min(ba.bottom, bb.bottom)) return false;
  const GlyphGeometry& ga = lines_.stroke(a).geometry;
  const GlyphGeometry& gb = lines_.stroke(b).geometry;
  const PackedPoint ra = reference_point(ga);
  const PackedPoint rb = reference_point(gb);
  const int x_overlap = std::min(ba.right, bb.right) - std::max(ba.left, bb.left);
  const bool side_by_side = std::abs(rb.y - ra.y) < 3 * std::abs(rb.x - ra.x) &&
                            std::max(ba.width(), bb.width()) > 2 * x_overlap;
  if (side_by_side) return false;
  const auto unknown = [](const GlyphGeometry& g) {
    return mark_class(g) == -1 && second_class(g) == -1;
  };
  if (classes_known) {
    return !(unknown(ga) && mark_quality(ga) != 0 && unknown(gb) && mark_quality(gb) != 0);
  }
  return !(unknown(ga) && unknown(gb));
}

int MergingPasses::merge_small_inputs() {
  const int strokes = lines_.stroke_count();
  if (lines_.line_count() == 2 && strokes == 2) {
    const GlyphGeometry& g0 = lines_.stroke(0).geometry;
    const GlyphGeometry& g1 = lines_.stroke(1).geometry;
    const bool simple = turn_count_1(g0) < 10 && turn_count_2(g0) < 10 && turn_count_1(g1) < 10 &&
                        turn_count_2(g1) < 10;
    if (simple && stacked_pair(0, 1, true)) return lines_.merge_lines(1, 0);
    return kOk;
  }
  const auto charsets = lines_.context().kernel().active_charsets();
  const bool greek = std::find(charsets.begin(), charsets.end(), kGreekCharset) != charsets.end();
  if (lines_.line_count() != 3 || strokes != 3 || !greek || !stacked_pair(0, 1, false)) {
    return kOk;
  }
  if (const int status = lines_.merge_lines(1, 0); status != kOk) return status;
  if (lines_.line_count() > 1 && stacked_pair(1, 2, false)) return lines_.merge_lines(1, 0);
  return kOk;
}

}  // namespace inkrec
