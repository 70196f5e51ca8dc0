// Fixed sets of engine charset ids that the recognition configurations use.
// They never change; a user of a set that must be narrowed to the charsets
// the engine has keeps a narrowed copy of its own.
#pragma once

#include <array>
#include <cstdint>

namespace ductra {

// Charsets that get no default configuration (they are never a title).
inline constexpr std::array<std::uint32_t, 5> kNoDefaultCharsets = {1, 2, 37, 38, 41};
// Titles passed over when the first configuration is chosen, and the ids
// offered as additional symbols.
inline constexpr std::array<std::uint32_t, 7> kAuxiliaryCharsets = {1, 2, 37, 38, 3, 40, 41};
// Further charsets of a default text configuration.
inline constexpr std::array<std::uint32_t, 3> kTextExtraCharsets = {1, 2, 38};
// Further charsets of a default digits configuration.
inline constexpr std::array<std::uint32_t, 3> kDigitExtraCharsets = {1, 2, 37};

}  // namespace ductra
