// The word read from a path's codes, the letters the word lists allow after
// it (also as the word search's memo keeps them), and its level, over a
// list of 3954 English words built with levels.
#include "engine/segmentation/allowed_letters.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/allowed_letter_memo.h"
#include "tests/support/english_word_list.h"

namespace inkrec {
namespace {

using namespace std::string_literals;

std::string narrow(std::u16string_view text) {
  std::string out;
  for (const char16_t unit : text) out += unit < 128 ? static_cast<char>(unit) : '?';
  return out;
}

std::span<const std::uint16_t> codes_of(const std::u16string& text) {
  return {reinterpret_cast<const std::uint16_t*>(text.data()), text.size()};
}

// The letters after a prefix, read from the fixture itself: 2 where a word
// ends with the letter, else 1.
std::map<char, std::uint32_t> fixture_letters_after(const std::u16string& prefix) {
  std::map<char, std::uint32_t> letters;
  for (const WordListEntry& entry : testing::fixture_english_words()) {
    if (entry.word.size() <= prefix.size() || !entry.word.starts_with(prefix)) continue;
    std::uint32_t& state = letters[static_cast<char>(entry.word[prefix.size()])];
    state = std::max<std::uint32_t>(state, entry.word.size() == prefix.size() + 1 ? 2 : 1);
  }
  return letters;
}

class AllowedLettersTest : public ::testing::Test {
 protected:
  AllowedLettersTest() : classes_(&identity_, false) {
    for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) identity_.push_back(c);
  }

  WordSource words() { return {english_, dictionaries_.set()}; }

  // The marked slots of the map after the codes read with the weight, the
  // map starting empty.
  std::map<char, std::uint32_t> letters_after(const std::u16string& codes, std::uint32_t weight) {
    CharSlotMap map;
    map.init(&identity_);
    EXPECT_EQ(allowed_letters_for_prefix(words(), codes_of(codes), weight, map, classes_), kOk);
    std::map<char, std::uint32_t> marked;
    for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) {
      if (map.slot(c) != CharSlotMap::kEmpty) marked[static_cast<char>(c)] = map.slot(c);
    }
    return marked;
  }

  // The slots of class table k that are set.
  std::map<char, std::uint32_t> table(int k) const {
    std::map<char, std::uint32_t> marked;
    for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) {
      if (classes_.table(k).slot(c) != CharSlotMap::kEmpty) {
        marked[static_cast<char>(c)] = classes_.table(k).slot(c);
      }
    }
    return marked;
  }

  // Every slot of the tables, the first table's value where two share one.
  std::map<char, std::uint32_t> merged(std::initializer_list<std::map<char, std::uint32_t>> maps) {
    std::map<char, std::uint32_t> all;
    for (const auto& map : maps) all.insert(map.begin(), map.end());
    return all;
  }

  std::int32_t level_of(const std::u16string& codes) {
    std::int32_t level = 77;
    EXPECT_EQ(word_level(words(), codes_of(codes), classes_, &level), kOk);
    return level;
  }

  // The character index of the class tables and maps: code c in slot c.
  DynArray<std::uint32_t> identity_;
  CharClassTables classes_;
  const std::vector<std::uint32_t> english_ = {5};
  testing::EnglishDictionaries dictionaries_;
};

TEST_F(AllowedLettersTest, TheWordOfAPathsCodes) {
  struct Case {
    std::u16string codes;
    int status;
    std::u16string word;
    bool broken;
  };
  const std::vector<Case> cases = {
      {u"the", kOk, u"the", false},
      {u" (the", kOk, u"the", false},             // a leading space and bracket
      {u"\"the", kOk, u"the", false},             // a leading quote
      {u"(\"the", -100, u"", false},              // a quote after the first code breaks
      {u"well-known", kOk, u"wellknown", false},  // a hyphen is passed over
      {u"don't", kOk, u"don't", false},           // English: the apostrophe is a letter
      {u"'em", kOk, u"em", false},                // but not as the first code
      {u"the.", kOk, u"the", true},
      {u"the, ", kOk, u"the", true},
      {u"a b", -100, u"", false},       // a letter after a break
      {u".the", -100, u"", false},      // a full stop breaks even when first
      {u"ab\0cd"s, kOk, u"ab", false},  // a 0 code ends the codes
      {u"", kOk, u"", false},
      {u"((", kOk, u"", false},
      {std::u16string(40, u'a'), kOk, std::u16string(31, u'a'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(c.codes));
    WordText word;
    ASSERT_EQ(word_from_codes(english_, codes_of(c.codes), classes_, &word), c.status);
    if (c.status != kOk) continue;
    EXPECT_EQ(word.view(), c.word);
    EXPECT_EQ(word.broken, c.broken);
  }
  // Without English the apostrophe breaks the word like a space.
  WordText word;
  const std::vector<std::uint32_t> german = {6};
  EXPECT_EQ(word_from_codes(german, codes_of(u"don't"), classes_, &word), -100);
}

TEST_F(AllowedLettersTest, LettersAfterThQuAndXz) {
  // Inside a word (weight 1) the map starts as class table 1: backspace
  // and the hyphen.
  for (const std::u16string prefix : {u"th", u"qu", u"xz"}) {
    SCOPED_TRACE(narrow(prefix));
    EXPECT_EQ(letters_after(prefix, 1), merged({fixture_letters_after(prefix), table(1)}));
  }
  EXPECT_EQ(fixture_letters_after(u"xz"), (std::map<char, std::uint32_t>{}));
  // A word begun with a capital goes on as the word in lower case does.
  EXPECT_EQ(letters_after(u"Th", 1), letters_after(u"th", 1));
  // Spot checks against the list: "the" and "thy" end words, "thr..." goes on.
  const auto th = letters_after(u"th", 1);
  EXPECT_EQ(th.at('e'), 2u);
  EXPECT_EQ(th.at('r'), 1u);
  EXPECT_EQ(letters_after(u"qu", 1).count('x'), 0u);
  for (char c = 'a'; c <= 'z'; ++c) EXPECT_EQ(letters_after(u"xz", 1).count(c), 0u) << c;
}

TEST_F(AllowedLettersTest, TheClassTablesThatJoinTheWordLists) {
  // Where a word may end (weight 2): table 0 with the closing marks and the
  // spaces, and the letters that go on.
  EXPECT_EQ(letters_after(u"the", 2),
            merged({fixture_letters_after(u"the"), table(0), table(4), table(3)}));
  // No word yet: tables 4, 2 and 3 join table 0 (no codes) or table 1, and
  // the list adds every first letter.
  EXPECT_EQ(letters_after(u"", 0),
            merged({fixture_letters_after(u""), table(0), table(4), table(2), table(3)}));
  EXPECT_EQ(letters_after(u"(", 1),
            merged({fixture_letters_after(u""), table(1), table(4), table(2), table(3)}));
  // A broken word: only tables 0, 3 and 4, nothing of the list.
  EXPECT_EQ(letters_after(u"the.", 2), merged({table(0), table(3), table(4)}));
  // No word, or weight 0 with codes: the map stays as it was.
  EXPECT_EQ(letters_after(u"a b", 2), (std::map<char, std::uint32_t>{}));
  EXPECT_EQ(letters_after(u"th", 0), (std::map<char, std::uint32_t>{}));
  // Without dictionaries the class tables still answer.
  CharSlotMap map;
  map.init(&identity_);
  ASSERT_EQ(allowed_letters_for_prefix({english_, nullptr}, codes_of(u"th"), 1, map, classes_),
            kOk);
  for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) {
    EXPECT_EQ(map.slot(c), classes_.table(1).slot(c)) << c;
  }
}

TEST_F(AllowedLettersTest, TheLevelOfAWord) {
  // "the" is the most frequent word (18); "zombie" is one of the least (0);
  // "qu" and "xz" are no words; "the." still reads "the".
  struct Case {
    std::u16string codes;
    std::int32_t level;
  };
  for (const Case& c : {Case{u"the", 18}, Case{u"(the.", 18}, Case{u"of", 16}, Case{u"zombie", 0},
                        Case{u"qu", -1}, Case{u"xz", -1}, Case{u"", -1}, Case{u"a b", -1}}) {
    EXPECT_EQ(level_of(c.codes), c.level) << narrow(c.codes);
  }
  std::int32_t level = 77;
  ASSERT_EQ(word_level({english_, nullptr}, codes_of(u"the"), classes_, &level), kOk);
  EXPECT_EQ(level, -1);
  // A capital first letter reads the word in lower case, whose capitals the
  // list does not hold; a capital inside the word makes no word.
  struct Written {
    std::u16string codes;
    std::int32_t level;
    bool as_written;
  };
  for (const Written& c : {Written{u"the", 18, true}, Written{u"The", 18, false},
                           Written{u"tHe", -1, false}, Written{u"THE", -1, false}}) {
    bool as_written = !c.as_written;
    ASSERT_EQ(word_level(words(), codes_of(c.codes), classes_, &level, &as_written), kOk);
    EXPECT_EQ(level, c.level) << narrow(c.codes);
    EXPECT_EQ(as_written, c.as_written) << narrow(c.codes);
  }
}

TEST_F(AllowedLettersTest, AWordListedWithItsCapitalAndWithASmallFirstLetterToo) {
  // "Case" stands in the list beside "case"; "Canada" only with its capital.
  testing::EnglishDictionaries names({{u"Case", 5, true}, {u"Canada", 5, true}});
  struct Written {
    std::u16string codes;
    bool as_written;
    bool small_first_listed;
  };
  for (const Written& c : {Written{u"Case", true, true}, Written{u"Canada", true, false},
                           Written{u"case", true, false}, Written{u"The", false, false},
                           Written{u"canada", false, false}}) {
    std::int32_t level = -1;
    bool as_written = !c.as_written;
    bool small_first_listed = !c.small_first_listed;
    ASSERT_EQ(word_level({english_, names.set()}, codes_of(c.codes), classes_, &level, &as_written,
                         &small_first_listed),
              kOk);
    EXPECT_EQ(as_written, c.as_written) << narrow(c.codes);
    EXPECT_EQ(small_first_listed, c.small_first_listed) << narrow(c.codes);
  }
}

TEST_F(AllowedLettersTest, TheMemoGivesWhatTheListsGiveAndKeepsEachPrefixsMap) {
  struct Case {
    std::u16string codes;
    std::uint32_t weight;
  };
  const Case cases[] = {
      {u"", 0}, {u"th", 1}, {u"th", 2}, {u"th", 0}, {u"Th", 1}, {u"the", 2}, {u"xq", 1},
      {u"a b", 1},
  };
  AllowedLetterMemo memo;
  std::vector<const CharSlotMap*> first_maps;
  for (int round = 0; round < 2; ++round) {
    for (std::size_t k = 0; k < std::size(cases); ++k) {
      const Case& c = cases[k];
      const CharSlotMap& kept =
          memo.letters_after(words(), codes_of(c.codes), c.weight, &identity_, classes_);
      const std::map<char, std::uint32_t> expected = letters_after(c.codes, c.weight);
      std::map<char, std::uint32_t> marked;
      for (std::uint32_t slot = 0; slot < CharSlotMap::kSlotCount; ++slot) {
        if (kept.slot(slot) != CharSlotMap::kEmpty) {
          marked[static_cast<char>(slot)] = kept.slot(slot);
        }
      }
      EXPECT_EQ(marked, expected) << narrow(c.codes) << " weight " << c.weight;
      // Asked again, a prefix gets the map it got the first time.
      if (round == 0) {
        first_maps.push_back(&kept);
      } else {
        EXPECT_EQ(&kept, first_maps[k]) << narrow(c.codes) << " weight " << c.weight;
      }
    }
  }
  memo.clear();
  const CharSlotMap& again = memo.letters_after(words(), codes_of(u"th"), 1, &identity_, classes_);
  EXPECT_EQ(again.slot(u'e'), letters_after(u"th", 1)['e']);
}

}  // namespace
}  // namespace inkrec
