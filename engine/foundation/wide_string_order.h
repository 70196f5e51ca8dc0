// Orders of UTF-16 texts shared by the dictionaries and the letter search.
// Units compare as unsigned 16-bit values.
#pragma once

#include <cstddef>
#include <string_view>

namespace inkrec {

// Dictionary order: the first differing unit decides, then the longer text
// is greater. Negative, 0 or positive.
int wide_string_compare(std::u16string_view a, std::u16string_view b);

// Set order: the shorter text first, then the first differing unit.
bool wide_string_less(std::u16string_view a, std::u16string_view b);
bool wide_string_equal(std::u16string_view a, std::u16string_view b);

// Compares at most n units, stopping after a 0 unit (units past a text's
// end count as 0): the difference of the units where it stopped; 0 for n 0.
int wide_string_compare_n(std::u16string_view a, std::u16string_view b, std::size_t n);

}  // namespace inkrec
