// The pair score's final terms: the link between two pieces of one stroke
// against the shapes it joins, the loops of a cursive "m", and a few
// readings whose neighbour must stand in a particular place.

#include <algorithm>

#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"
#include "engine/rules/pair_score_scene.h"

namespace inkrec {
namespace {

void score_link_placement(PairScoreScene& s, RecognitionContext& context) {
  if (!RequestSwitches(context.kernel().params()).strict_kind() || !s.linked() ||
      s.link == nullptr) {
    return;
  }
  const Box16 link = box_of(*s.link);
  const Box16 fa = box_of(*s.pair.linked_a);
  const Box16 fb = box_of(*s.pair.linked_b);
  if (link.left > fa.left && link.top >= fa.top + 3 * fa.height() / 4 &&
      code_among(answer_shape_id(*s.reading_a), {12, 201, 202, 212, 331})) {
    s.pen(200);
  }
  if (link.bottom < fb.top + fb.height() / 3 && code_among(answer_shape_id(*s.reading_b), {13, 16, 37})) {
    s.pen(200);
  }
}

// Points of B's linked figure (all but the last) that cross the stroke
// further on than the last point lies.
void score_m_loops(PairScoreScene& s) {
  if ((s.cb1 != u'M' && s.cb1 != u'm') || !s.linked()) return;
  const auto points = points_of(*s.pair.linked_b);
  if (points.empty()) return;
  const std::uint16_t last = hypothesis_code(points.back());
  for (std::size_t k = 0; k + 1 < points.size(); ++k) {
    if (has_extra_code(points[k]) && extra_code_1(points[k]) > last) s.pen(1300);
  }
}

bool same_single_stroke(const PairScoreScene& s) {
  return s.single_a() && s.single_b() && s.pair.fa->stroke_index == s.pair.fb->stroke_index;
}

void score_by_earlier_key(PairScoreScene& s, RecognitionContext& context) {
  const std::int32_t size = s.size;
  const std::int32_t hA = s.hA();
  const std::int32_t hB = s.hB();
  const std::uint16_t key_a = s.key_of_a();
  switch (s.key_of_b()) {
    case 484: {
      const std::int32_t baseline = baseline_pair(*s.B().geometry).bottom;
      if (s.b().bottom <= baseline - baseline_span(s.B()) / 3 &&
          !(s.b().right < s.a().left - size / 10)) {
        s.pen(150);
      }
      break;
    }
    case 595:
      if (s.reading_b->codes[1] == u'e' && same_single_stroke(s) &&
          (key_a == 701 || key_a == 11036) && hB >= 4 * hA / 3 && s.b().top < s.a().top &&
          hB > 4 * size / 3) {
        s.pen(ramp(4 * hA / 3, 60, true, 3 * hA / 2, 150, false, hB));
      }
      break;
    case 609:
      if (key_a == 760 && same_single_stroke(s) && hB <= 3 * hA / 2 && hB < 4 * size / 3) {
        s.pen(ramp(3 * hA / 2, 0, true, hA, 150, false, hB));
      }
      break;
    case 5567:
      if (s.cb1 == u'I' && key_a == 660 && hB <= hA) {
        s.pen(ramp(hA, 0, true, hA / 2, 350, false, hB));
      }
      break;
    case 11722:
      if (same_single_stroke(s) && hB <= 2 * hA / 3 && hB <= size / 2 &&
          code_among(key_a, {589, 590, 934})) {
        s.pen(150);
      }
      break;
    case 1052:
      if (RequestSwitches(context.kernel().params()).stroke_order() &&
          s.pair.fb->stroke_index > s.pair.fa->stroke_index && s.b().left >= s.a().left &&
          !(s.b().right < s.a().right - 3 * s.wA() / 4)) {
        s.pen(700);
      }
      break;
    default:
      break;
  }
}

void score_by_later_key(PairScoreScene& s) {
  const std::int32_t size = s.size;
  const std::uint16_t key = s.key_of_a();
  if (key == 1052) {
    if (s.a().left >= s.b().left && s.b().right - s.wB() / 3 >= s.a().right) s.pen(700);
    return;
  }
  if (!code_among(key, {707, 712, 715, 5548}) || !same_single_stroke(s)) return;
  const std::int32_t drop = s.b().top - s.a().top;
  if (drop < size / 3 || s.line == nullptr) return;
  if (s.line->fits[0].y_at(s.key_a.x) - s.a().top >= size / 3) {
    s.pen(ramp(size / 3, 0, true, size, 350, false, drop));
  }
}

}  // namespace

void score_final_terms(PairScoreScene& s, RecognitionContext& context) {
  score_link_placement(s, context);
  score_m_loops(s);
  score_by_earlier_key(s, context);
  score_by_later_key(s);
}

}  // namespace inkrec
