// The names of the engine's charsets as the user sees them: the string
// table holds a name (kind 0) and two declined forms (kinds 1 and 2) of
// every charset from 1 to 42; any other charset, or one the table lacks, is
// called by the name the engine gives it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/common/localizer.h"
#include "inkrec/inkrec.h"

namespace ductra {

// Fills the engine's record of a charset (crmGetCharSet); the engine's status.
using CharsetLookup = std::function<int(std::uint32_t id, crCharSet* record)>;

inline constexpr int kNoCharsetNameBase = -1000;

// 6100 for kind 0, 6200 for kind 1, 6300 for kind 2; kNoCharsetNameBase
// for any other kind.
int charset_name_base(int kind);

// The string base + id when the id is 1..42 and the string exists, else the
// engine's name (up to its first 0 unit, at most 30 units), else "".
std::u16string charset_display_name(const Localizer& localizer, const CharsetLookup& engine, std::uint32_t id,
                                    int kind);

}  // namespace ductra
