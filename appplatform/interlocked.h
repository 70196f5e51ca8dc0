// Interlocked operations: atomic read-modify-write on plain integer words,
// each a full barrier, as threads (and processes, on shared memory) use to
// exchange counters and indexes without a lock.
//
// The word must be suitably aligned and every access to it while it is
// shared must go through these functions (interlocked_read for reading).
// Increment and decrement wrap and return the new value; the others return
// the value before.
#pragma once

#include <atomic>
#include <concepts>
#include <type_traits>

namespace ductra::platform {

namespace detail {

template <std::integral T>
T wrapping_add(T value, T delta) {
  using Unsigned = std::make_unsigned_t<T>;
  return static_cast<T>(static_cast<Unsigned>(value) + static_cast<Unsigned>(delta));
}

}  // namespace detail

template <std::integral T>
T interlocked_read(T& word) {
  return std::atomic_ref<T>(word).load();
}

template <std::integral T>
T interlocked_increment(T& word) {
  return detail::wrapping_add(std::atomic_ref<T>(word).fetch_add(1), T{1});
}

template <std::integral T>
T interlocked_decrement(T& word) {
  return detail::wrapping_add(std::atomic_ref<T>(word).fetch_sub(1), static_cast<T>(-1));
}

template <std::integral T>
T interlocked_exchange(T& word, T value) {
  return std::atomic_ref<T>(word).exchange(value);
}

template <std::integral T>
T interlocked_exchange_add(T& word, T delta) {
  return std::atomic_ref<T>(word).fetch_add(delta);
}

// Stores `desired` only when the word holds `expected`.
template <std::integral T>
T interlocked_compare_exchange(T& word, T desired, T expected) {
  std::atomic_ref<T>(word).compare_exchange_strong(expected, desired);
  return expected;
}

}  // namespace ductra::platform
