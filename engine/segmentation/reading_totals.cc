// The totals of the readings of the letter evaluation.

#include "engine/segmentation/reading_totals.h"

namespace inkrec {
namespace {

constexpr std::int32_t kPerfect = 10000;
constexpr std::int32_t kMarkBase = 8200;

}  // namespace

std::int32_t held_letter_score(std::int32_t score, std::int32_t penalty) {
  const std::int64_t total = std::int64_t{score} + penalty;
  if (total > kPerfect) return 9998 - penalty;
  if (total < 0) return 3 - penalty;
  return score;
}

std::int32_t held_mark_base(std::int32_t terms) {
  const std::int64_t total = std::int64_t{kMarkBase} + terms;
  if (total < 0) return 2 - terms;
  if (total > kPerfect) return 8651 - terms;
  return kMarkBase;
}

bool weak_mark_dropped(std::int32_t total, std::int32_t best) {
  return total < 5000 && std::int64_t{best} - total >= 900;
}

}  // namespace inkrec
