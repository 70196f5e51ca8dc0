// How the application names a key it shows as text: control characters and
// spaces by a word in angle brackets ("<enter>", "<space>").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ductra {

// The bracketed word of `unit`; empty for a unit shown as itself.
std::u16string_view control_key_name(char16_t unit);

// The bracketed word of `code`, or the code itself.
std::u16string key_name(std::uint16_t code);

}  // namespace ductra
