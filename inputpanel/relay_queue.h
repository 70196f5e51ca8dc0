// The relay window's queue of character units, waiting for the flush that
// ends a text.
//
// It holds at most kCapacity units and never stores beyond them: push
// refuses a unit when the queue is full, and the caller decides what to do
// (the relay window delivers the queue early, so no unit is lost and the
// order is kept). The unit alone decides how it is delivered, so the kind
// the application sends with it is not kept.
#pragma once

#include <array>
#include <cstddef>
#include <span>

namespace ductra::quillpad {

class RelayQueue {
 public:
  static constexpr std::size_t kCapacity = 256;

  // False, and nothing stored, when the queue is full.
  bool push(char16_t unit);
  bool full() const { return count_ == kCapacity; }
  std::span<const char16_t> units() const { return {units_.data(), count_}; }
  void clear() { count_ = 0; }

 private:
  std::array<char16_t, kCapacity> units_{};
  std::size_t count_ = 0;
};

}  // namespace ductra::quillpad
