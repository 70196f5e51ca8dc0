// UTF-16 text, which the device's programs use, against the UTF-8 of the
// host's file names and environment; and the comparison of names without
// regard to case that device paths, registry keys and program names follow.
#pragma once

#include <string>
#include <string_view>

namespace ductra::platform {

// Malformed input (unpaired surrogates, bad bytes) becomes U+FFFD.
std::string to_utf8(std::u16string_view text);
std::u16string to_utf16(std::string_view text);

// Lower case of one unit for Latin, Greek and Cyrillic letters; any other
// unit is returned unchanged.
char16_t fold_case(char16_t unit);
bool equal_ignoring_case(std::u16string_view a, std::u16string_view b);

}  // namespace ductra::platform
