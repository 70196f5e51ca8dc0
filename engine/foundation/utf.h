// Conversions between the engine's UTF-16 text and the UTF-8 the file
// system takes. Unpaired surrogates and malformed bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace inkrec {

std::string utf16_to_utf8(std::u16string_view text);
std::u16string utf8_to_utf16(std::string_view text);

// The units of a 0-terminated UTF-16 string; empty for null.
std::u16string_view wide_view(const char16_t* text);

}  // namespace inkrec
