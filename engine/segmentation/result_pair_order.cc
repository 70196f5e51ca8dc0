#include "engine/segmentation/result_pair_order.h"

#include "engine/records/request_switches.h"

namespace inkrec {

std::int32_t blend_height(std::int32_t a, std::int32_t b) {
  if (b > 5 * a / 2) return (a + 2 * b / 52) / 2;
  if (b > 2 * a) return (a + b / 2) / 2;
  if (b <= 18 * a / 10) return a;
  return (a + 10 * b / 18) / 2;
}

bool members_interleave(const FigureGroup& a, const FigureGroup& b) {
  std::uint32_t greatest_a = 0;
  std::uint32_t least_b = 0;
  if (!a.members.highest_bit(&greatest_a) || !b.members.lowest_bit(&least_b)) return false;
  return greatest_a > least_b;
}

void check_pair_order(RecognitionContext& context, const FigureGroup& a, const FigureGroup& b,
                      std::uint8_t* flag) {
  if (RequestSwitches(context.kernel().params()).stroke_order() && members_interleave(a, b)) {
    *flag = 0;
    return;
  }
  if (b.box.bottom > a.box.bottom - a.box.height() / 2) *flag = 0;
}

}  // namespace inkrec
