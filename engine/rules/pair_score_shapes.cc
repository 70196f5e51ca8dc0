// The pair score's terms of shape and height: whether the two results
// stand along the line's slant rather than over each other, whether their
// tops and bottoms reach where their letters' classes say they should, and
// how their heights compare when one stroke runs through both.

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"
#include "engine/rules/pair_score_scene.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kSharedHeightKeys[] = {5567, 1035, 1539, 5511, 1569, 11158, 11159, 1033, 1557};

// Whether two one-figure results stand apart sideways over their common
// rows: their left and right edges differ by at least `apart` at a third
// and two thirds of the common height (0 when that height is too small).
bool stand_apart(const PairScoreScene& s) {
  if (!s.single_a() || !s.single_b()) return true;
  const std::int32_t top = std::max(s.a().top, s.b().top);
  const std::int32_t height = std::min(s.a().bottom, s.b().bottom) - top;
  if (height < std::min(s.size, s.min_h()) / 3) return false;
  std::int32_t left = -0x7fffffff;
  std::int32_t right = -0x7fffffff;
  for (const std::int32_t y : {top + height / 3, top + 2 * height / 3}) {
    left = std::max(left, s.pair.RA->row_min(y) - s.pair.RB->row_min(y));
    right = std::max(right, s.pair.RA->row_max(y) - s.pair.RB->row_max(y));
  }
  const std::int32_t limit = s.cb2 == 1079 ? s.size / 12 : s.size / 6;
  return std::min(left, right) >= limit;
}

// dev: how far the direction from B's key point to A's turns away from
// the line's slant.
std::int32_t slant_deviation(const PairScoreScene& s) {
  const std::int32_t phi = s.direction_b_to_a;
  return phi < 180 ? s.slant - phi : phi - s.slant - 180;
}

bool alignment_skipped(const PairScoreScene& s) {
  return s.hebrew || s.greek ||
         (s.min_h() >= 5 * s.size / 4 && std::max(s.wA(), s.wB()) <= s.min_h()) || s.marked_a ||
         s.marked_b || s.key_of_a() == 81 || s.cb2 == 1073 || s.ca2 == 1081 || s.cb2 == 1081 ||
         s.hov < 1;
}

// The penalties for A standing over or under B where the line runs on.
void score_stacked_neighbours(PairScoreScene& s, std::int32_t dev, bool apart) {
  const std::int32_t size = s.size;
  if (dev < 40 && !apart) s.pen(ramp(0, 500, true, 40, 0, true, dev));
  const std::int32_t wide = 2 * std::min(s.wA(), s.wB()) / 3;
  if (dev < 35 && s.hov > wide && (!apart || dev < 20)) s.pen(200);
  if (s.hB() < 3 * std::max(s.hA(), size) / 2) {
    const PackedPoint p = first_point(*s.pair.fa);
    bool right_edge_test = dev < 40;
    if (s.a().top > s.b().top && dev < 40 && p.y - s.b().top < size / 2 &&
        p.y > s.pair.RB->column_min(p.x)) {
      s.pen(200);
      right_edge_test = false;
    }
    if (right_edge_test && p.x < s.pair.RB->row_max(p.y)) s.pen(200);
  }
  if (s.a18() && s.d_bottom > size / 2 && s.hov > wide && dev < 35) s.pen(600);
}

struct HeightRamps {
  std::int32_t h;
  std::int32_t big;  // max(size, h)
  std::int32_t weight(std::int32_t difference) const {
    return ramp(0, 0, true, h, 20, true, difference) + ramp(h / 2, 0, true, h, 20, true, difference);
  }
  std::int32_t r3(std::int32_t x) const { return ramp(big / 2, 10, true, big, 50, true, x); }
};

std::int32_t tops_divisor(const PairScoreScene& s) {
  std::int32_t d = 1;
  if (s.W() > 2 * s.H()) {
    d = 4;
  } else if (s.W() > s.H()) {
    d = 2;
  }
  return d * chain_divisor(s);
}

// Whether B's ink at A's top row leaves A's right end near it.
bool a_ends_at_b(const PairScoreScene& s) {
  const std::int32_t r = s.pair.RB->row_max(s.a().top);
  const std::int32_t l = s.pair.RB->row_min(s.a().top);
  return s.a().right - r < std::max(s.size / 2, r - l);
}

bool overlaps_little(const PairScoreScene& s) {
  return s.b().right - s.a().left <= std::min(s.wA(), s.wB()) / 3;
}

}  // namespace

bool tops_and_bottoms_skipped(const PairScoreScene& s) {
  return s.marked_a || s.marked_b || is_punctuation_code(s.ca1) || is_punctuation_code(s.cb1) ||
         s.hebrew || s.greek || (s.position > 2 && s.near_line_end());
}

void score_slant_alignment(PairScoreScene& s) {
  if (alignment_skipped(s)) return;
  const std::int32_t m = stacking_height(s);
  const std::int32_t dev = slant_deviation(s);
  const bool apart = stand_apart(s);
  const bool classes = (s.a17(2) || s.b18()) &&
                       (s.b17(s.position) || (!s.b_class_19 && m > 2 * s.vov) || s.a18());
  if (!classes && !(s.min_h() < s.size / 2)) return;
  score_stacked_neighbours(s, dev, apart);
}

void score_tops_and_bottoms_of_a(PairScoreScene& s) {
  const HeightRamps r{s.hA(), std::max(s.size, s.hA())};
  const std::int32_t d5 = tops_divisor(s);
  const std::int32_t weight = r.weight(s.hA() - s.hB());
  const bool low = !s.a20(2) && s.d_bottom > -2 * s.d_top && s.a18();
  const bool high = !s.a19() && -s.d_top > 2 * s.d_bottom && s.a17(2);
  if (low) {
    const std::int32_t p = weight * r.r3(s.d_bottom);
    if (p / d5 > 20 && s.d_bottom > s.size / 3) {
      if (!(s.d_bottom <= s.d_key && s.d_bottom <= s.W() / 3 && overlaps_little(s))) {
        s.pen(s.d_bottom > s.size ? p : p / d5);
      }
    } else if (s.vov < s.min_h() / 2 && s.d_bottom >= 1 && a_ends_at_b(s)) {
      s.pen(600);
    }
  }
  if (high) {
    const std::int32_t q = weight * r.r3(-s.d_top);
    if (q / d5 > 20 && s.d_top < -s.size / 3 &&
        !(s.d_top >= -s.d_key && s.d_top >= -s.W() / 3 && overlaps_little(s))) {
      s.pen(s.d_top < -s.size ? q : q / d5);
    }
  }
}

void score_tops_and_bottoms_of_b(PairScoreScene& s) {
  const HeightRamps r{s.hB(), std::max(s.size, s.hB())};
  const std::int32_t d5 = tops_divisor(s);
  const std::int32_t weight = r.weight(s.hB() - s.hA());
  const std::int32_t below = -s.d_bottom;  // how far B reaches below A
  const std::int32_t above = s.d_top;      // how far B reaches above A
  const bool low = !s.b20(2) && below > -2 * above && s.b18();
  const bool high = s.position >= 3 && !s.b19() && above > 2 * below && s.b17(s.position);
  if (low) {
    const std::int32_t p = weight * r.r3(below);
    if (p / d5 > 20 && below > s.size / 3) {
      if (!(below <= s.d_key && below <= s.W() / 3 && overlaps_little(s))) {
        s.pen(below > s.size ? p : p / d5);
      }
    } else if (s.vov < s.min_h() / 2 && below >= 1 && a_ends_at_b(s)) {
      s.pen(600);
    }
  }
  if (high) {
    const std::int32_t q = weight * r.r3(above);
    if (q / d5 > 20 && above > s.size / 3 &&
        !(above <= s.d_key && above <= s.W() / 3 && overlaps_little(s))) {
      s.pen(above > s.size ? q : q / d5);
    }
  }
}

void score_relative_heights(PairScoreScene& s) {
  const std::int32_t size = s.size;
  const std::int32_t hA = s.hA();
  const std::int32_t hB = s.hB();
  if (s.linked() && s.b16()) {
    const std::int32_t middle = (s.a().top + s.a().bottom) / 2;
    const std::int32_t g = s.pair.RA->row_min(middle) - s.pair.RB->row_max(middle);
    if (!(hB >= 4 * size / 3 && (g >= s.H() / 2 || s.H() <= s.W()))) {
      if (s.a17(2) && s.a18() && hB < 4 * hA / 3) {
        s.pen(ramp(hA / 3, 0, true, 0, 500, false, s.d_top));
      }
      if (s.position >= 3 && s.a16() && s.b17(s.position) && s.b18() && hA < 4 * hB / 3) {
        s.pen(ramp(hB / 3, 0, true, 0, 500, false, hA - hB));
      }
    }
  }
  if (s.linked()) {
    const auto t = [size](std::int32_t x) { return ramp(size / 3, 0, true, 0, 300, true, x); };
    const auto over_20 = [&s](std::int32_t v) {
      if (v > 20) s.pen(v);
    };
    if (s.b_class_19 && s.a17(2)) over_20(t(s.d_top));
    if (s.a19() && s.b17(2)) over_20(t(-s.d_top));
    if (s.b20(2) && s.a18()) over_20(t(-s.d_bottom));
    if (s.a20(2) && s.b18()) over_20(t(s.d_bottom));
    const std::int32_t third = s.max_h() / 3;
    if (s.single_b() && std::abs(s.d_top) < third && std::abs(s.d_bottom) < third &&
        std::abs(hA - hB) < third && !s.a19() &&
        std::find(std::begin(kSharedHeightKeys), std::end(kSharedHeightKeys), s.key_of_b()) !=
            std::end(kSharedHeightKeys)) {
      s.pen(600);
    }
  }
  if (!s.linked() || s.a16() || s.b16()) return;
  const std::int32_t big = std::max(size, s.max_h());
  const std::int32_t d = hA - hB;
  if (d <= big / 4 && (-d <= big / 4 || s.position < 3)) return;
  const std::int32_t gap = std::abs(d);
  if (s.ca2 == s.cb2 || (code_among(s.ca2, {1089, 1077, 1075}) && code_among(s.cb2, {1089, 1077, 1075}))) {
    s.pen(ramp(big / 3, 0, true, big / 2, 300, false, gap));
    return;
  }
  if (s.W() >= 3 * size / 2 && s.min_h() >= s.max_h() / 3) return;
  if ((s.a17(2) && s.a18() && hB < hA) || (s.b17(2) && s.b18() && hA < hB)) {
    s.pen(ramp(big / 2, 0, true, big, 600, false, gap));
  }
}

}  // namespace inkrec
