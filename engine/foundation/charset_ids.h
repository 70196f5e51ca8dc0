// The ids of the charsets the engine's own rules name (the ids the
// databases and the composition tables share): a rule that speaks of one
// charset tests it by these.
#pragma once

#include <cstdint>

namespace inkrec {

inline constexpr std::uint32_t kDigits = 3;
inline constexpr std::uint32_t kRussian = 4;
inline constexpr std::uint32_t kEnglish = 5;
inline constexpr std::uint32_t kHebrew = 26;
inline constexpr std::uint32_t kCalculator = 36;

}  // namespace inkrec
