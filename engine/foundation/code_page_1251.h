// Code page 1251, in which the engine writes its text files (listings,
// reports, logs).
//
// ASCII passes through; the Cyrillic letters and the other characters of the
// code page take their one-byte codes; any other character becomes '?'.
#pragma once

#include <string>
#include <string_view>

namespace inkrec {

std::string to_code_page_1251(std::u16string_view text);

}  // namespace inkrec
