// Answer totals and AnswerList copying.

#include "engine/foundation/answer_list.h"

#include <algorithm>
#include <limits>

#include "engine/foundation/status.h"

namespace inkrec {

std::int32_t Answer::total() const {
  std::int64_t sum = 0;
  for (int i = 0; i < kComponentCount; ++i) {
    if (i != kPenaltyComponent) sum += components[i];
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

int AnswerList::assign(const AnswerList& other) {
  if (answers_.assign(other.answers_) != kOk) return kOutOfMemory;
  limit_ = other.limit_;
  unlimited_ = other.unlimited_;
  seen_codes_ = other.seen_codes_;
  return kOk;
}

}  // namespace inkrec
