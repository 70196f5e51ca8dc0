// Small value operations used throughout the engine: 16- and 32-bit saturation,
// "unset" markers, conditional lowering and raising, index-range tests.
#pragma once

#include <algorithm>
#include <cstdint>

namespace inkrec {

// Coordinates and distances are 16-bit; these mark "unset" least and
// greatest values.
inline constexpr std::int16_t kUnsetLeast = 32767;
inline constexpr std::int16_t kUnsetGreatest = -32768;
inline constexpr std::uint16_t kNoKey16 = 0xFFFF;
inline constexpr int kNoIndex = -1;

constexpr std::int16_t saturate_int16(std::int64_t v) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767));
}
constexpr std::int32_t saturate_int32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// Sets a to v only when that makes it smaller (lower_to) or larger (raise_to).
template <typename A, typename V>
constexpr void lower_to(A& a, V v) {
  if (v < a) a = static_cast<A>(v);
}
template <typename A, typename V>
constexpr void raise_to(A& a, V v) {
  if (v > a) a = static_cast<A>(v);
}

// Whether start <= i < start + count.
template <typename S, typename C>
constexpr bool in_index_range(S start, C count, std::int64_t i) {
  return std::int64_t{start} <= i && i < std::int64_t{start} + std::int64_t{count};
}

}  // namespace inkrec
