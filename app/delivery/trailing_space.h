// The space a recognised text may end with, so that words typed one after
// another stand apart.
//
// With the setting on, a text of 2 to 254 units that does not already end
// in a space, tab, line feed, carriage return or backspace gets one space.
// A single character never does (it is a letter, a digit or a key written
// alone), nor does a text that fills the result buffer.
#pragma once

#include <string>
#include <string_view>

namespace ductra {

std::u16string postprocess_result(std::u16string_view text, bool space_after_result);

}  // namespace ductra
