// Kinds 67 to 83: tests for rules matched against the joined group's
// marked reading (a letter made of a body and a mark), read from the
// results' boxes and their figures' boxes.

#include <algorithm>
#include <array>

#include "engine/foundation/status.h"
#include "engine/rules/pair_rule_kinds.h"

namespace inkrec {
namespace {

constexpr std::int32_t kNoStroke = -1;

int kind_67(PairScene& p) {
  const std::int32_t common = std::min(p.a.right, p.b.right) - std::max(p.a.left, p.b.left);
  if (p.joint_height > 2 * p.joint_width && common > -p.hA / 5) p.pen(500);
  return kOk;
}

int kind_69(PairScene& p) {
  if (p.b.left > p.a.left && p.b.right < p.a.right && p.b.bottom - p.a.top < p.hB / 5) {
    p.pen(300);
  }
  return kOk;
}

// A mark of one figure standing high on the other result, whose stroke
// one of the other's figures shares.
bool mark_shares_stroke(const FigureGroup& mark, const Box16& mark_box, std::int32_t mark_height,
                        const FigureGroup& other) {
  if (mark.figures.size() != 1 || stroke_key(*mark.figures[0]) == kNoStroke) return false;
  return other.box.top < mark_box.top + mark_height / 6 &&
         figure_with_stroke(other, stroke_key(*mark.figures[0])) != nullptr;
}

int kind_70(PairScene& p) {
  if (mark_shares_stroke(p.A(), p.a, p.hA, p.B())) p.pen(300);
  return kOk;
}

int kind_71(PairScene& p) {
  if (mark_shares_stroke(p.B(), p.b, p.hB, p.A())) p.pen(300);
  return kOk;
}

bool wide_overlap(const PairScene& p) {
  const std::int32_t overlap = x_overlap(p.b, p.a);
  return overlap >= p.wA / 2 && overlap >= p.wB / 2;
}

int kind_72(PairScene& p) {
  if (wide_overlap(p) && p.b.top >= p.a.bottom - p.hB / 10) p.pen(300);
  return kOk;
}

int kind_73(PairScene& p) {
  if (wide_overlap(p) && p.a.top >= p.b.bottom - p.hA / 10) p.pen(300);
  return kOk;
}

int kind_74(PairScene& p) {
  if (p.hA >= 3 * p.s / 4 && p.b.bottom <= p.a.bottom - p.hA / 2) p.pen(300);
  return kOk;
}

int kind_81(PairScene& p) {
  if (p.b.right > p.a.left && p.B().box.right < p.a.left && p.figures_j() == 2) p.pen(150);
  return kOk;
}

int kind_82(PairScene& p) {
  if (p.figures_j() != 2 || p.figures_a() != 2) return kOk;
  p.pen(150);
  const FigureRecord* first = figure_of(p.A(), 0);
  const FigureRecord* second = figure_of(p.A(), 1);
  if (first == nullptr || second == nullptr) return kBadArgument;
  const Box16 f1 = box_of(*first);
  const Box16 f2 = box_of(*second);
  if (f1.bottom >= f2.bottom ? f1.right - f2.right >= 3 * f1.width() / 4
                             : f2.right - f1.right >= 3 * f2.width() / 4) {
    p.pen(150);
  }
  return kOk;
}

int kind_83(PairScene& p) {
  if (p.fA.right - p.fB.left >= 3 * p.s / 4 && x_overlap(p.fA, p.fB) + 1 < p.wAf &&
      x_overlap(p.fA, p.fB) + 1 < p.wBf) {
    return kOk;
  }
  const std::int32_t rise = p.fA.bottom <= p.fB.bottom ? p.fB.top - p.fA.top : p.fA.top - p.fB.top;
  if (rise > p.s / 2) p.pen(100);
  return kOk;
}

constexpr std::array<PairRuleTest, 17> kTests = {
    kind_67, kind_67, kind_69, kind_70, kind_71, kind_72, kind_73, kind_74, kind_74,
    kind_74, kind_74, kind_74, kind_74, kind_74, kind_81, kind_82, kind_83,
};

}  // namespace

PairRuleTest marked_reading_test(int kind) {
  return kind >= 67 && kind <= 83 ? kTests[kind - 67] : nullptr;
}

}  // namespace inkrec
