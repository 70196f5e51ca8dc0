#include "engine/segmentation/allowed_letters.h"

#include <algorithm>

#include "engine/database/dictionary_set.h"
#include "engine/foundation/capital_letters.h"
#include "engine/foundation/charset_ids.h"
#include "engine/foundation/status.h"
#include "engine/records/run_kernel.h"

namespace inkrec {
namespace {

constexpr int kOpensOrJoins = 1;  // may stand before a word
constexpr int kInsideWord = 2;    // passed over inside a word
constexpr int kBetweenWords = 4;  // ends a word unless it also has kInsideWord
constexpr std::uint16_t kApostrophe = 39;
constexpr int kNoWord = -100;

int code_class(std::uint16_t code, bool first, bool apostrophe_is_letter,
               const CharClassTables& classes) {
  if (code == kApostrophe && !first && apostrophe_is_letter) return 0;
  return classes.punctuation_class(code);
}

void merge_tables(CharSlotMap& letters, const CharClassTables& classes,
                  std::initializer_list<int> tables) {
  for (const int k : tables) letters.merge_missing(classes.table(k));
}

// The word with its first letter in lower case; false when it does not
// begin with a capital.
bool decapitalised(const WordText& word, WordText* out) {
  if (word.length == 0) return false;
  const std::uint16_t lower = lower_case_letter(word.units[0]);
  if (lower == word.units[0]) return false;
  *out = word;
  out->units[0] = static_cast<char16_t>(lower);
  return true;
}

}  // namespace

WordSource word_source(const RunKernel& kernel) {
  return {kernel.active_charsets(), kernel.dictionaries()};
}

int word_from_codes(std::span<const std::uint32_t> active_charsets,
                    std::span<const std::uint16_t> codes, const CharClassTables& classes,
                    WordText* word) {
  const bool apostrophe_is_letter =
      std::find(active_charsets.begin(), active_charsets.end(), kEnglish) != active_charsets.end();
  *word = WordText();
  bool leading = true;
  const std::size_t n = std::min<std::size_t>(codes.size(), WordText::kMaxCodes);
  for (std::size_t i = 0; i < n && codes[i] != 0; ++i) {
    const int c = code_class(codes[i], i == 0, apostrophe_is_letter, classes);
    const bool breaks = (c & kBetweenWords) != 0 && (c & kInsideWord) == 0;
    if (breaks && !(i == 0 && (c & kOpensOrJoins) != 0)) word->broken = true;
    if (leading && (c & kOpensOrJoins) != 0) continue;
    if ((c & (kInsideWord | kBetweenWords)) == 0) {
      if (word->broken) return kNoWord;
      word->units[word->length++] = static_cast<char16_t>(codes[i]);
      leading = false;
    } else if ((c & kOpensOrJoins) == 0) {
      leading = false;
    }
  }
  return kOk;
}

int allowed_letters_for_prefix(const WordSource& words, std::span<const std::uint16_t> codes,
                               std::uint32_t weight, CharSlotMap& letters,
                               const CharClassTables& classes) {
  WordText word;
  if (word_from_codes(words.active_charsets, codes, classes, &word) != kOk) return kOk;
  if (weight == 0 && !codes.empty()) return kOk;
  if (word.broken) {
    letters.copy_slots(classes.table(0));
    merge_tables(letters, classes, {3, 4});
    return kOk;
  }
  const bool word_may_end = weight == CharSlotMap::kWordEnds;
  letters.copy_slots(classes.table(word_may_end || codes.empty() ? 0 : 1));
  if (word.length == 0) {
    merge_tables(letters, classes, {4, 2, 3});
  } else if (word_may_end) {
    merge_tables(letters, classes, {4, 3});
  }
  if (words.dictionaries == nullptr) return kOk;
  // A missing user dictionary is no reason to refuse the letters found.
  words.dictionaries->check_word(word.view(), letters);
  WordText lower;
  if (decapitalised(word, &lower)) words.dictionaries->check_word(lower.view(), letters);
  return kOk;
}

// The level is the dictionaries' whole-word number (DictionarySet::
// word_number): the word list's level when it holds the word, else the
// user dictionary's number.
int word_level(const WordSource& words, std::span<const std::uint16_t> codes,
               const CharClassTables& classes, std::int32_t* level, bool* as_written,
               bool* small_first_listed) {
  *level = -1;
  if (as_written != nullptr) *as_written = false;
  if (small_first_listed != nullptr) *small_first_listed = false;
  WordText word;
  if (words.dictionaries == nullptr ||
      word_from_codes(words.active_charsets, codes, classes, &word) != kOk) {
    return kOk;
  }
  int number = -1;
  WordText lower;
  if (words.dictionaries->word_number(word.view(), &number) == 1) {
    *level = number;
    if (as_written != nullptr) *as_written = true;
    int other = -1;
    if (small_first_listed != nullptr && decapitalised(word, &lower)) {
      *small_first_listed = words.dictionaries->word_number(lower.view(), &other) == 1;
    }
  } else if (decapitalised(word, &lower) &&
             words.dictionaries->word_number(lower.view(), &number) == 1) {
    *level = number;
  }
  return kOk;
}

}  // namespace inkrec
