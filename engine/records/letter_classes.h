// Letter-shape classes of a reading: fixed answers for a few Latin letters,
// otherwise bits 16..20 of the symbol's property word.
//
// Classes 17 and 20 also take the number of items of the reading and answer
// no below 2 (class 20 says yes to "g" first). The reading forms read a
// record with the members `codes` (the current codes), `saved_codes` (the
// codes before the last rewrite) and `mask` (the property word); the index
// argument -1 selects the saved first code.
#pragma once

#include <cstdint>

#include "engine/database/property_flags.h"

namespace inkrec {

bool letter_class_16(std::uint32_t code, PropertyFlags properties);
bool letter_class_17(std::uint32_t code, PropertyFlags properties, int item_count);
bool letter_class_18(std::uint32_t code, PropertyFlags properties);
bool letter_class_19(std::uint32_t code, PropertyFlags properties);
bool letter_class_20(std::uint32_t code, PropertyFlags properties, int item_count);

template <typename A>
concept LetterReading = requires(const A& a) {
  a.codes[0];
  a.saved_codes[0];
  PropertyFlags{a.mask};
};

// The code a class test reads: the saved first code for index -1, else the
// current first code.
template <LetterReading A>
std::uint32_t letter_class_code(const A& reading, int index) {
  return index == -1 ? reading.saved_codes[0] : reading.codes[0];
}

// Class 16 always reads the current first code.
template <LetterReading A>
bool letter_class_16(const A& reading) {
  return letter_class_16(reading.codes[0], PropertyFlags{reading.mask});
}
template <LetterReading A>
bool letter_class_17(const A& reading, int index, int item_count) {
  return letter_class_17(letter_class_code(reading, index), PropertyFlags{reading.mask},
                         item_count);
}
template <LetterReading A>
bool letter_class_18(const A& reading, int index) {
  return letter_class_18(letter_class_code(reading, index), PropertyFlags{reading.mask});
}
template <LetterReading A>
bool letter_class_19(const A& reading, int index) {
  return letter_class_19(letter_class_code(reading, index), PropertyFlags{reading.mask});
}
template <LetterReading A>
bool letter_class_20(const A& reading, int index, int item_count) {
  return letter_class_20(letter_class_code(reading, index), PropertyFlags{reading.mask},
                         item_count);
}

}  // namespace inkrec
