#include "engine/segmentation/allowed_letter_memo.h"

namespace inkrec {

const CharSlotMap& AllowedLetterMemo::letters_after(const WordSource& words,
                                                    std::span<const std::uint16_t> codes,
                                                    std::uint32_t weight,
                                                    const DynArray<std::uint32_t>* code_index,
                                                    const CharClassTables& classes) {
  bool added = false;
  CharSlotMap& letters = maps_.find_or_add(weight, codes, &added);
  if (added) {
    letters.init(code_index);
    allowed_letters_for_prefix(words, codes, weight, letters, classes);
  }
  return letters;
}

}  // namespace inkrec
