// How the copybook names a letter: control characters and spaces by a
// word in angle brackets ("<enter>", "<space>"), any other code by itself.
#pragma once

#include <cstdint>
#include <string>

namespace ductra {

std::u16string key_name(std::uint16_t code);

}  // namespace ductra
