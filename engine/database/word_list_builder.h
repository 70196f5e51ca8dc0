// Building ".wlb" word lists (see standard_dictionary.h for the layout)
// from plain word lists: one word a line, optionally followed by blanks and
// a decimal number, a frequency or, when the caller says so, a level.
//
// Each word is numbered by its level, 0 (rare) to 18 (frequent), which the
// letter search reads as the word's weight:
//   - from frequencies, on a log scale from the most frequent word (18) to
//     the least frequent (0): level = round(18 * ln(f / least) /
//     ln(most / least)), every word 18 when all frequencies are equal; a
//     word without a frequency (or with 0) counts as the least frequent;
//   - a list where no word has a frequency above 0 gives every word the
//     default level 12;
//   - from counts (how often each word occurs in a corpus of some 50
//     million words, as the English list's subtitle counts), six levels a
//     decade: level = round(6 * log10(count) - 9) held to 0..18, so level 9
//     at a count of 1000, 18 from about 26 100 and 0 below 39 and for a
//     word without a count;
//   - a level column gives each word the level written after it.
// The builder adds the letter entries the reader relies on for prefixes of
// up to four letters. Words are built offline; the engine only reads them.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace inkrec {

constexpr std::uint32_t kMaxWordLevel = 18;
constexpr std::uint32_t kDefaultWordLevel = 12;

struct WordListEntry {
  std::u16string word;
  std::uint64_t frequency = 0;  // the number of the line: a frequency or a level
  bool numbered = false;        // the line carried a number
};

// What the number after a word is.
enum class WordListColumn { kFrequency, kCount, kLevel };

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

// The level of a frequency on the log scale from least to most (both above
// 0, least <= most); 0 for a frequency of 0.
std::uint32_t level_of_frequency(std::uint64_t frequency, std::uint64_t least, std::uint64_t most);

// The level of a word counted `count` times in a corpus (see above); 0 for
// a count of 0.
std::uint32_t level_of_count(std::uint64_t count);

// The level of every distinct word as a list of the words stores it; a
// repeated word keeps its first entry. Levels as given are not checked.
std::map<std::u16string, std::uint32_t> word_levels(std::span<const WordListEntry> words,
                                                    WordListColumn column);

// The ".wlb" image of the words in *image. A repeated word keeps its first
// entry. 0; -2 when a word fails check_list_word, a level passes 18, or the
// list is too large for the format (more than 32768 distinct symbols, a bit
// stream past 4 GiB bits); -1 when memory runs out.
int build_word_list(std::span<const WordListEntry> words, std::vector<std::uint8_t>* image,
                    WordListColumn column = WordListColumn::kFrequency);

// Writes an image to path through a temporary file: 0 or 12001.
int write_word_list(const std::string& path, std::span<const std::uint8_t> image);

}  // namespace inkrec
