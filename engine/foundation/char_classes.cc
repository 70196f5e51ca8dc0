// The character-class tables and predicates.

#include "engine/foundation/char_classes.h"

#include <initializer_list>

namespace inkrec {
namespace {

constexpr std::initializer_list<std::uint32_t> kOpeningBrackets = {'(', '[', '{'};
constexpr std::initializer_list<std::uint32_t> kClosingBrackets = {')', ']', '}'};

void fill(CharSlotMap& table, std::initializer_list<std::uint32_t> codes, std::uint32_t value) {
  for (std::uint32_t code : codes) table.slot_ref(code) = value;
}

template <std::size_t n>
void fill_classes(std::array<std::uint8_t, n>& classes, std::initializer_list<std::uint32_t> codes,
                  std::uint8_t value) {
  for (std::uint32_t code : codes) classes[code] = value;
}

}  // namespace

CharClassTables::CharClassTables(const DynArray<std::uint32_t>* char_index_table,
                                 bool right_to_left)
    : right_to_left_(right_to_left) {
  for (CharSlotMap& table : tables_) table.init(char_index_table);
  const auto& opening = right_to_left ? kClosingBrackets : kOpeningBrackets;
  const auto& closing = right_to_left ? kOpeningBrackets : kClosingBrackets;
  fill(tables_[0], {8, 30, 31, '-'}, 2);
  fill(tables_[1], {8, '-'}, 1);
  fill(tables_[2], opening, 1);
  fill(tables_[3], closing, 2);
  fill(tables_[3], {'.', ',', ';', ':', '?', '!'}, 2);
  fill(tables_[4], {'\r', '\t', ' ', '_', '^', '\\', '=', '/', '+', '*', '\'', '"'}, 2);
  fill_classes(punctuation_classes_, opening, 1);
  fill_classes(punctuation_classes_, closing, 4);
  fill_classes(punctuation_classes_, {'!', ',', '.', ':', ';', '?'}, 4);
  fill_classes(punctuation_classes_,
               {'\t', '\r', ' ', '"', '\'', '*', '+', '/', '=', '\\', '^', '_'}, 5);
  fill_classes(punctuation_classes_, {8, 30, 31, '-'}, 7);
}

bool is_punctuation_code(std::uint32_t code) {
  return (code >= 29 && code <= 34) || (code >= 39 && code <= 47) || (code >= 58 && code <= 63) ||
         (code >= 91 && code <= 95) || code == 123 || code == 125 || code == 126;
}

}  // namespace inkrec
