#include "engine/analysis/raf_context.h"

#include "engine/foundation/status.h"

namespace inkrec {

int RafContext::reset(std::uint32_t n) {
  values_.clear();
  nonzero_.clear();
  if (values_.resize(n, 0) != kOk || nonzero_.reserve_total(n) != kOk) {
    clear();
    return kOutOfMemory;
  }
  return kOk;
}

void RafContext::clear() {
  values_.release();
  nonzero_.release();
}

}  // namespace inkrec
