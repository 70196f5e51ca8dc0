// How the letter evaluation holds the total of a reading (its score plus
// its penalty and terms) within the range the answer lists work in, and
// when a weak special mark is not worth keeping.
//
// A total of exactly 10000 stays; a letter's score is moved so that a total
// above 10000 becomes 9998 and a negative one 3; a special mark's base so
// that a total above 10000 becomes 8651 and a negative one 2.
#pragma once

#include <cstdint>

namespace inkrec {

// The etalon score a letter keeps, given its penalty P (<= 0 mostly).
std::int32_t held_letter_score(std::int32_t score, std::int32_t penalty);
// The base (8200 unless moved) of a special mark whose P + E + M is
// `terms`.
std::int32_t held_mark_base(std::int32_t terms);
// A mark below 5000 is dropped when the best total of its list is 900 or
// more above it.
bool weak_mark_dropped(std::int32_t total, std::int32_t best);

}  // namespace inkrec
