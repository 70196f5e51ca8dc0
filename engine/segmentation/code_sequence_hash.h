// The hash the word search's memos key their code sequences by: FNV-1a
// over a leading value (what else tells the keys apart: a place, a
// weight) and the codes, folded so that the low bits a hash table uses
// depend on all of them. Equal inputs give equal hashes; nothing else is
// promised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace inkrec {

inline std::size_t hash_code_sequence(std::uint64_t lead, std::span<const std::uint16_t> codes) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto take = [&hash](std::uint64_t value) {
    hash ^= value;
    hash *= 1099511628211ull;
  };
  take(lead);
  for (const std::uint16_t code : codes) take(code);
  return static_cast<std::size_t>(hash ^ hash >> 29);
}

}  // namespace inkrec
