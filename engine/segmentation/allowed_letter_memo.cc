#include "engine/segmentation/allowed_letter_memo.h"

namespace inkrec {
namespace {

// FNV-1a over the weight and the codes.
std::size_t hash_prefix(std::uint32_t weight, std::span<const std::uint16_t> codes) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto take = [&hash](std::uint64_t value) {
    hash ^= value;
    hash *= 1099511628211ull;
  };
  take(weight);
  for (const std::uint16_t code : codes) take(code);
  return static_cast<std::size_t>(hash ^ hash >> 29);
}

}  // namespace

std::size_t AllowedLetterMemo::PrefixHash::operator()(const Prefix& prefix) const {
  return hash_prefix(prefix.weight, prefix.codes);
}

std::size_t AllowedLetterMemo::PrefixHash::operator()(const StoredPrefix& prefix) const {
  return hash_prefix(prefix.weight, prefix.codes);
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
