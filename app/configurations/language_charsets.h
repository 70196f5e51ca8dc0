// The main charset of a system language: the charset the default
// configurations are built around on a device set to that language.
#pragma once

#include <cstdint>

#include "app/configurations/configuration.h"

namespace ductra {

inline constexpr CharsetId kEnglishCharset = 5;
inline constexpr CharsetId kDigitsCharset = 3;

// The charset of the primary language (the low 8 bits of a Windows language
// id); English for a language without one.
CharsetId main_charset_of_language(std::uint16_t language_id);

}  // namespace ductra
