#include "engine/segmentation/allowed_letter_memo.h"

#include "engine/segmentation/code_sequence_hash.h"

namespace inkrec {

std::size_t AllowedLetterMemo::PrefixHash::operator()(const Prefix& prefix) const {
  return hash_code_sequence(prefix.weight, prefix.codes);
}

std::size_t AllowedLetterMemo::PrefixHash::operator()(const StoredPrefix& prefix) const {
  return hash_code_sequence(prefix.weight, prefix.codes);
}

const CharSlotMap& AllowedLetterMemo::letters_after(const WordSource& words,
                                                    std::span<const std::uint16_t> codes,
                                                    std::uint32_t weight,
                                                    const DynArray<std::uint32_t>* code_index,
                                                    const CharClassTables& classes) {
  if (const auto found = maps_.find(Prefix{weight, codes}); found != maps_.end()) {
    return found->second;
  }
  CharSlotMap& letters =
      maps_.try_emplace(StoredPrefix{weight, {codes.begin(), codes.end()}}).first->second;
  letters.init(code_index);
  allowed_letters_for_prefix(words, codes, weight, letters, classes);
  return letters;
}

}  // namespace inkrec
