#include "engine/segmentation/link_scores.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/request_switches.h"

namespace inkrec {

PairGap pair_gap(const PairMetrics& entry, bool right_to_left) {
  const int d = entry.pair_value();
  const int dx = d * int_sin(entry.angle + 90) / 1000;
  return {right_to_left ? -dx : dx, d * int_sin(entry.angle) / 1000};
}

namespace {

// The scores of one pass over the pairs. The height ramp narrows, for the
// rest of the pass, once a pair of small marks far behind is met.
class LinkScorer {
 public:
  LinkScorer(int h, bool writing_order)
      : h_(h),
        writing_order_(writing_order),
        across_(0, 1000, true, h * 280 / 100, 500, false),
        along_(0, 1000, true, h * 120 / 100, 0, false),
        overlap_(0, 0, false, h, 1000, true),
        span_(h * 70 / 100, 1000, true, h * 170 / 100, 0, false) {}

  int score(const PairMetrics& entry, const Box16& bj, const Box16& bi, int order_distance,
            bool right_to_left) {
    const PairGap gap = pair_gap(entry, right_to_left);
    const int overlap = entry.vertical_relation.overlap();
    const int span = entry.vertical_relation.span();
    int score = across_.value_at(std::abs(gap.dx)) + along_.value_at(std::abs(gap.dy)) +
                overlap_.value_at(overlap);
    if (span < 2 * h_) {
      if (gap.dx < -9 * h_ && overlap < -h_ / 10 && span > h_ && 3 * bi.height() < 2 * h_ &&
          3 * bj.height() < 2 * h_) {
        span_ = ClampedRamp(h_, 200, true, h_ * 3 / 2, 0, false);
      }
      score += span_.value_at(span);
    } else if ((bi.top < bj.top && bi.bottom < bj.bottom) ||
               (bi.top > bj.top && bi.bottom > bj.bottom)) {
      score += span_.value_at(span);
    }
    if (writing_order_ && !far_back_on_another_line(gap, span, bj, bi)) {
      score += order_ramp(gap).value_at(order_distance);
    }
    return score;
  }

 private:
  bool far_back_on_another_line(const PairGap& gap, int span, const Box16& bj, const Box16& bi) {
    if (span <= 2 * h_ || gap.dx > 0) return false;
    return std::abs(gap.dx) >= 2 * h_ || (2 * bi.height() >= h_ && 2 * bj.height() >= h_);
  }

  ClampedRamp order_ramp(const PairGap& gap) const {
    if (gap.dx < -3 * h_ && 2 * std::abs(gap.dy) > h_) {
      return ClampedRamp(1, 1000 + 100 * gap.dx / (3 * h_), true, 4, 1, false);
    }
    return ClampedRamp(1, 1000, true, 4, 1, false);
  }

  int h_;
  bool writing_order_;
  ClampedRamp across_;
  ClampedRamp along_;
  ClampedRamp overlap_;
  ClampedRamp span_;
};

}  // namespace

int compute_link_scores(RecognitionContext& context) {
  const int h = std::max<int>(context.letter_height(), 1);
  const bool right_to_left = context.kernel().right_to_left();
  LinkScorer scorer(h, RequestSwitches(context.kernel().params()).writing_order());
  DynArray<StrokeRecord>& strokes = context.strokes();
  for (std::uint32_t i = 1; i < strokes.size(); ++i) {
    const Box16 bi = strokes[i].geometry.bounding_box();
    for (std::uint32_t j = 0; j < i; ++j) {
      PairMetrics* entry = context.pair_table().at(i, j);
      if (entry == nullptr) return kBadArgument;
      const int score = scorer.score(*entry, strokes[j].geometry.bounding_box(), bi,
                                     static_cast<int>(i - j), right_to_left);
      entry->link_cost = static_cast<std::uint16_t>(std::clamp(score, 0, 65535));
    }
  }
  return kOk;
}

}  // namespace inkrec
