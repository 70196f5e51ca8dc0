// The lower-case form of a capital letter of the alphabets the engine
// reads: Latin (with the Latin-1 and Latin Extended-A letters), Greek and
// Cyrillic. The word lists hold most words in lower case only; a word
// written with a capital first letter is looked up through this form.
#pragma once

#include <cstdint>

namespace inkrec {

// The lower-case letter of a capital; any other code comes back as it is.
std::uint16_t lower_case_letter(std::uint16_t code);

}  // namespace inkrec
