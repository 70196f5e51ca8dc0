// The engine's wide string: a DynArray of UTF-16 units without terminator.
#pragma once

#include <string_view>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

using WideString = DynArray<char16_t>;

inline std::u16string_view view(const WideString& text) { return {text.data(), text.size()}; }

// Makes text hold the units of units: 0, or -1 with text unchanged.
inline int assign_units(WideString& text, std::u16string_view units) {
  WideString copy;
  if (const int status = copy.append_n(units.data(), static_cast<std::uint32_t>(units.size()));
      status != kOk) {
    return status;
  }
  text.swap(copy);
  return kOk;
}

}  // namespace inkrec
