// Class and interface identifiers: 16 bytes, compared whole, and their text
// form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits of either case
// are read, upper case is written).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "appplatform/com/hresult.h"

namespace ductra::platform {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};
  friend bool operator==(const Guid&, const Guid&) = default;
};
static_assert(sizeof(Guid) == 16);
static_assert(offsetof(Guid, data2) == 4 && offsetof(Guid, data3) == 6 && offsetof(Guid, data4) == 8);

std::u16string guid_to_string(const Guid& guid);
// S_OK with `out` set, or CO_E_CLASSSTRING (and `out` untouched) when the
// text is not exactly one identifier in braces.
HResult guid_from_string(std::u16string_view text, Guid& out);

}  // namespace ductra::platform
