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

// The five classes of one reading at once, for a caller that asks several
// of them about the same reading: class 16 of code16, the others of code.
class LetterClassSet {
 public:
  LetterClassSet() = default;
  LetterClassSet(std::uint32_t code16, std::uint32_t code, PropertyFlags properties);

  bool c16() const { return has(k16); }
  bool c17(int item_count) const { return item_count >= 2 && has(k17); }
  bool c18() const { return has(k18); }
  bool c19() const { return has(k19); }
  bool c20(int item_count) const { return has(k20Always) || (item_count >= 2 && has(k20)); }

  // The bits of the set: classes 16 to 20 in the order of the property
  // word's bits 16 to 20 (17 and 20 before the count), and class 20
  // whatever the count.
  enum Bit : std::uint8_t { k16 = 1, k17 = 2, k18 = 4, k19 = 8, k20 = 16, k20Always = 32 };

 private:
  bool has(std::uint8_t bit) const { return (bits_ & bit) != 0; }

  std::uint8_t bits_ = 0;
};

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

// The classes of a reading (class 16 of its current first code).
template <LetterReading A>
LetterClassSet letter_class_set(const A& reading, int index) {
  return LetterClassSet(reading.codes[0], letter_class_code(reading, index),
                        PropertyFlags{reading.mask});
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
