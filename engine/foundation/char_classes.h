// Character classes of the non-letter characters: which may follow a text
// prefix, which separate words, which count as punctuation.
//
// CharClassTables holds five letter-slot maps over one character-index table;
// in right-to-left writing the opening and closing brackets exchange roles.
// Table 0 marks backspace, codes 30 and 31 and the hyphen (2); table 1
// backspace and the hyphen (1); table 2 the opening brackets (1); table 3 the
// closing brackets and . , ; : ? ! (2); table 4 the spacing and operator
// characters CR, tab, space, _ ^ \ = / + * ' " (2).
#pragma once

#include <array>
#include <cstdint>

#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

class CharClassTables {
 public:
  static constexpr int kTableCount = 5;

  // The index table must outlive the tables.
  CharClassTables(const DynArray<std::uint32_t>* char_index_table, bool right_to_left);

  const CharSlotMap& table(int k) const { return tables_[k]; }
  bool right_to_left() const { return right_to_left_; }

  // 7: backspace, codes 30 and 31, hyphen; 5: spacing and operator
  // characters; 4: . , : ; ? ! and the closing brackets; 1: the opening
  // brackets (the two bracket classes exchanged right to left); 0: any other.
  int punctuation_class(std::uint32_t code) const {
    return code < kClassedCodes ? punctuation_classes_[code] : 0;
  }

 private:
  // Every code with a punctuation class lies below this.
  static constexpr std::uint32_t kClassedCodes = 128;

  CharSlotMap tables_[kTableCount];
  bool right_to_left_;
  std::array<std::uint8_t, kClassedCodes> punctuation_classes_{};
};

// 29..34, 39..47, 58..63, 91..95, 123, 125 and 126.
bool is_punctuation_code(std::uint32_t code);
// Space, " ' * + , - . : ; = ^ _ ~ and code 1497. Read in the header: the
// pair score asks it twice for every pair of readings.
inline bool is_inline_mark(std::uint32_t code) {
  // Bit c of the first word and bit c - 64 of the second mark code c.
  constexpr std::uint64_t kMarks[2] = {
      std::uint64_t{1} << ' ' | std::uint64_t{1} << '"' | std::uint64_t{1} << '\'' |
          std::uint64_t{0x1F} << '*' | std::uint64_t{1} << ':' | std::uint64_t{1} << ';' |
          std::uint64_t{1} << '=',
      std::uint64_t{1} << ('^' - 64) | std::uint64_t{1} << ('_' - 64) |
          std::uint64_t{1} << ('~' - 64)};
  if (code < 128) return (kMarks[code >> 6] >> (code & 63) & 1) != 0;
  return code == 1497;
}

}  // namespace inkrec
