// How the engine's growable arrays grow: to half as much again as they hold
// room for, or to just what is needed when that is more. A caller checks
// first that `needed` is at most `max_count`; the result is then between
// `needed` and `max_count`.
#pragma once

#include <algorithm>
#include <cstdint>

namespace inkrec {

constexpr std::uint32_t grown_capacity(std::uint32_t capacity, std::uint32_t needed,
                                       std::uint32_t max_count) noexcept {
  std::uint64_t grown = std::uint64_t{capacity} + capacity / 2;
  if (grown > max_count) grown = 0;
  return static_cast<std::uint32_t>(std::max<std::uint64_t>(grown, needed));
}

}  // namespace inkrec
