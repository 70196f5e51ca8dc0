// Building ".wlb" word lists (see standard_dictionary.h for the layout)
// from plain word lists: one word a line, optionally followed by blanks and
// a decimal frequency.
//
// Each word is numbered by its frequency rank: with n words, the most
// frequent gets n and the least frequent 1. A word without a frequency
// counts as frequency 0, and equal frequencies rank in the order the words
// were given, so a list without frequencies ranks its words in line order.
// The builder adds the letter entries the reader relies on for prefixes of
// up to four letters. Words are built offline; the engine only reads them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace inkrec {

struct WordListEntry {
  std::u16string word;
  std::uint64_t frequency = 0;
};

enum class WordListLine { kWord, kEmpty, kMalformed };

// Parses one line (without its line break): "word" or "word frequency",
// fields separated by blanks or tabs; a trailing carriage return is ignored.
WordListLine parse_word_list_line(std::string_view line, WordListEntry* out);

// Why a word cannot stand in a list.
enum class WordFault {
  kNone,
  kLength,        // empty or longer than 100 UTF-16 units
  kControlUnit,   // a unit below U+0020 (they would read as digits) or U+FFFE/U+FFFF
  kLeadingDigit,  // begins with '1'..'5', the marks of the letter entries
};
WordFault check_list_word(std::u16string_view word);

// The ".wlb" image of the words in *image. A repeated word keeps its first
// entry. 0; -2 when a word fails check_list_word or the list is too large for
// the format (more than 32768 distinct symbols, a bit stream past 4 GiB bits);
// -1 when memory runs out.
int build_word_list(std::span<const WordListEntry> words, std::vector<std::uint8_t>* image);

// Writes an image to path through a temporary file: 0 or 12001.
int write_word_list(const std::string& path, std::span<const std::uint8_t> image);

}  // namespace inkrec
