// RunCounter: counts the runs of a two-state signal, the first run included
// (the feature extraction counts the alternations of vertical direction
// along a stroke with it).
#pragma once

#include <cstdint>

namespace inkrec {

class RunCounter {
 public:
  static constexpr std::int32_t kNeither = -1;

  // Counts a new run unless the signal is already 1.
  void enter_one() { enter(1); }
  // Counts a new run unless the signal is already 0.
  void enter_zero() { enter(0); }
  void set(std::uint32_t count, std::int32_t state) {
    count_ = count;
    state_ = state;
  }

  std::uint32_t count() const { return count_; }
  std::int32_t state() const { return state_; }

 private:
  void enter(std::int32_t state) {
    if (state_ != state) ++count_;
    state_ = state;
  }

  std::uint32_t count_ = 0;
  std::int32_t state_ = kNeither;
};

}  // namespace inkrec
