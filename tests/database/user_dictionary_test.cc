#include "engine/database/user_dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/database/user_dictionary_list.h"
#include "engine/database/user_dictionary_status.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

// Weights as the database gives them: letters of the dictionary's charset
// from their three collation bytes, separators likewise on a lower base.
constexpr std::uint32_t letter_weight(std::uint32_t b6, std::uint32_t b7 = 0,
                                      std::uint32_t b8 = 0) {
  return ((b6 + 1024) * 16 + b7) * 4 + b8;
}
constexpr std::uint32_t separator_weight(std::uint32_t b6) { return ((b6 + 1) * 16) * 4; }

// ' ' and '-' separate; a, b, c, e are ordered letters; A folds to a and
// differs from it by the tertiary weight; é folds to e and differs by the
// secondary weight; ë collates exactly as e; x and y are unordered.
void add_test_alphabet(UserDictionary& d) {
  ASSERT_EQ(d.add_letter(64, u' ', u' ', true, false), kOk);
  ASSERT_EQ(d.add_letter(separator_weight(1), u'-', u'-', true, false), kOk);
  ASSERT_EQ(d.add_letter(letter_weight(1), u'a', u'a', false, false), kOk);
  ASSERT_EQ(d.add_letter(letter_weight(1, 0, 1), u'A', u'a', false, false), kOk);
  ASSERT_EQ(d.add_letter(letter_weight(2), u'b', u'b', false, false), kOk);
  ASSERT_EQ(d.add_letter(letter_weight(3), u'c', u'c', false, false), kOk);
  ASSERT_EQ(d.add_letter(letter_weight(5), u'e', u'e', false, false), kOk);
  ASSERT_EQ(d.add_letter(letter_weight(5, 1), u'é', u'e', false, false), kOk);
  ASSERT_EQ(d.add_letter(letter_weight(5), u'ë', u'e', false, false), kOk);
  ASSERT_EQ(d.add_letter(0, u'y', u'y', false, true), kOk);
  ASSERT_EQ(d.add_letter(0, u'x', u'x', false, true), kOk);
}

std::vector<std::u16string> words_of(const UserDictionary& d) {
  std::vector<std::u16string> words;
  for (std::uint32_t i = 0; i < d.word_count(); ++i) words.emplace_back(view(d.word_at(i).text));
  return words;
}

// Segments as "text=sum" items.
std::vector<std::u16string> segments_of(const UserDictionary& d) {
  std::vector<std::u16string> segments;
  for (std::uint32_t i = 0; i < d.segment_count(); ++i) {
    std::u16string_view text;
    std::uint32_t sum = 0;
    EXPECT_EQ(d.segment_text(i, &text), kOk);
    EXPECT_EQ(d.segment_probability(i, &sum), kOk);
    const std::string digits = std::to_string(sum);
    segments.push_back(std::u16string(text) + u"=" + std::u16string(digits.begin(), digits.end()));
  }
  return segments;
}

class UserDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override { add_test_alphabet(d_); }
  UserDictionary d_{5};
};

TEST_F(UserDictionaryTest, WordsKeepTheThreeLevelCollationOrder) {
  const std::vector<std::u16string> expected = {u"x", u"y", u"a",  u"A",  u"ab", u"b", u"c",
                                                u"e", u"é", u"ex", u"ea", u"éa", u"eb"};
  std::vector<std::u16string> shuffled = expected;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(3));
  for (const std::u16string& word : shuffled) ASSERT_EQ(d_.add_word(word, 1), kOk);
  EXPECT_EQ(words_of(d_), expected);

  // ë collates as e on every level: the same word for the dictionary.
  EXPECT_EQ(d_.add_word(u"ë", 1), kUdWordExists);
  std::uint32_t position = 0;
  bool found = false;
  ASSERT_EQ(d_.search(u"ëa", &position, &found), kOk);
  EXPECT_TRUE(found);
  EXPECT_EQ(position, 10u);
  ASSERT_EQ(d_.search(u"bb", &position, &found), kOk);
  EXPECT_FALSE(found);
  EXPECT_EQ(position, 6u);
  EXPECT_EQ(d_.search(u"z", &position, &found), kUndocumented);
}

TEST_F(UserDictionaryTest, AddingChecksTheWordBeforeChangingAnything) {
  EXPECT_EQ(d_.add_word(u"", 1), kUdBadWordLength);
  EXPECT_EQ(d_.add_word(std::u16string(51, u'a'), 1), kUdBadWordLength);
  EXPECT_EQ(d_.add_word(std::u16string(50, u'a'), 1), kOk);
  EXPECT_EQ(d_.add_word(u"abz", 1), kUdCharOutsideAlphabet);
  EXPECT_EQ(d_.add_word(u"b", 0), kUdBadProbability);
  EXPECT_EQ(d_.add_word(u"b", 100001), kUdBadProbability);
  EXPECT_EQ(d_.word_count(), 1u);
  std::uint8_t flag = 9;
  EXPECT_EQ(d_.check_text(u"Aé-x", &flag), kOk);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(d_.check_text(u"az", &flag), kOk);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(d_.check_text(u"", &flag), kOk);
  EXPECT_EQ(flag, 0);
}

TEST_F(UserDictionaryTest, SegmentsAreFoldedLetterRunsWithSummedProbabilities) {
  ASSERT_EQ(d_.add_word(u"- -", 7), kOk);  // only separators: no segment
  EXPECT_EQ(d_.word_count(), 1u);
  EXPECT_EQ(d_.segment_count(), 0u);

  ASSERT_EQ(d_.add_word(u"Ab-cé", 10), kOk);
  ASSERT_EQ(d_.add_word(u"ab", 5), kOk);
  EXPECT_EQ(segments_of(d_), (std::vector<std::u16string>{u"ab=15", u"ce=10"}));

  ASSERT_EQ(d_.set_probability(2, 3), kOk);  // "Ab-cé" sorts after "ab"
  EXPECT_EQ(segments_of(d_), (std::vector<std::u16string>{u"ab=8", u"ce=3"}));

  ASSERT_EQ(d_.remove_word(2), kOk);
  EXPECT_EQ(segments_of(d_), (std::vector<std::u16string>{u"ab=5"}));
  EXPECT_EQ(d_.remove_word(2), kUdBadWordIndex);
}

TEST_F(UserDictionaryTest, ASumPastTheLimitLeavesWordsAndSegmentsAsTheyWere) {
  ASSERT_EQ(d_.add_word(u"ce", 90000), kOk);
  ASSERT_EQ(d_.add_word(u"b", 100), kOk);
  const auto words = words_of(d_);
  const auto segments = segments_of(d_);
  // "b" would grow first, then "ce" would pass 100000.
  EXPECT_EQ(d_.add_word(u"b-cé", 20000), kUdBadProbability);
  EXPECT_EQ(d_.set_probability(0, 100000), kOk);  // "b" alone may reach the limit
  EXPECT_EQ(d_.set_probability(0, 100), kOk);
  ASSERT_EQ(d_.add_word(u"b ce", 5000), kOk);
  EXPECT_EQ(d_.set_probability(1, 50000), kUdBadProbability);
  EXPECT_EQ(d_.remove_word(1), kOk);
  EXPECT_EQ(words_of(d_), words);
  EXPECT_EQ(segments_of(d_), segments);
}

TEST_F(UserDictionaryTest, RenamingMovesTheWordAndNeverLosesOne) {
  ASSERT_EQ(d_.add_word(u"ab", 4), kOk);
  ASSERT_EQ(d_.add_word(u"c", 6), kOk);
  ASSERT_EQ(d_.add_word(u"e", 8), kOk);

  EXPECT_EQ(d_.set_text(0, u"c"), kUdWordExists);
  EXPECT_EQ(d_.set_text(0, u"ë"), kUdWordExists);
  EXPECT_EQ(d_.set_text(0, u"az"), kUdTextOutsideAlphabet);
  EXPECT_EQ(d_.set_text(0, u""), kUdBadWordLength);
  EXPECT_EQ(d_.set_text(3, u"b"), kUdBadWordIndex);
  EXPECT_EQ(words_of(d_), (std::vector<std::u16string>{u"ab", u"c", u"e"}));

  ASSERT_EQ(d_.set_text(0, u"eb"), kOk);
  EXPECT_EQ(words_of(d_), (std::vector<std::u16string>{u"c", u"e", u"eb"}));
  std::uint32_t probability = 0;
  ASSERT_EQ(d_.word_probability(2, &probability), kOk);
  EXPECT_EQ(probability, 4u);
  ASSERT_EQ(d_.set_text(2, u"a"), kOk);
  ASSERT_EQ(d_.set_text(1, u"c"), kOk);  // its own text again
  EXPECT_EQ(words_of(d_), (std::vector<std::u16string>{u"a", u"c", u"e"}));
  EXPECT_EQ(segments_of(d_), (std::vector<std::u16string>{u"a=4", u"c=6", u"e=8"}));
}

TEST_F(UserDictionaryTest, SegmentQueries) {
  ASSERT_EQ(d_.add_word(u"abc", 1), kOk);
  ASSERT_EQ(d_.add_word(u"ab", 1), kOk);
  ASSERT_EQ(d_.add_word(u"ae-b", 65535), kOk);

  CharSlotMap map;
  DynArray<std::uint32_t> table;
  for (std::uint32_t c = 0; c < 128; ++c) table.push_back(c);
  map.init(&table);
  d_.letters_after(u"a", map);
  EXPECT_EQ(map.slot_value(u'b'), CharSlotMap::kWordEnds);
  EXPECT_EQ(map.slot_value(u'e'), CharSlotMap::kWordEnds);
  EXPECT_EQ(map.slot_value(u'c'), CharSlotMap::kEmpty);
  map.init(&table);
  d_.letters_after(u"", map);
  EXPECT_EQ(map.slot_value(u'a'), CharSlotMap::kLetterContinues);
  EXPECT_EQ(map.slot_value(u'b'), CharSlotMap::kWordEnds);

  std::uint32_t i = 0;
  ASSERT_TRUE(d_.find_segment(u"ae", &i));
  std::uint32_t bits = 0;
  ASSERT_EQ(d_.segment_bit_length(i, &bits), kOk);
  EXPECT_EQ(bits, 16u);
  ASSERT_TRUE(d_.find_segment(u"ab", &i));
  ASSERT_EQ(d_.segment_bit_length(i, &bits), kOk);
  EXPECT_EQ(bits, 1u);
  EXPECT_FALSE(d_.find_segment(u"aa", &i));
  EXPECT_EQ(d_.segment_bit_length(d_.segment_count(), &bits), kUdBadSegmentIndex);

  EXPECT_TRUE(d_.has_segment(u"ab", 2));
  EXPECT_TRUE(d_.has_segment(u"ab", 3));
  EXPECT_TRUE(d_.has_segment(u"a", 0));
  EXPECT_FALSE(d_.has_segment(u"ab", 4));
  EXPECT_FALSE(d_.has_segment(u"c", 0));

  std::uint32_t found[4];
  std::uint32_t count = 9;
  EXPECT_EQ(d_.find_segments(u"abc", 3, found, 4, &count), kOk);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(d_.find_segments(u"abc", 0, found, 4, &count), kUdBadWordLength);
  EXPECT_EQ(d_.find_segments(u"abc", 2, found, 4, &count), kOk);  // "ab"
  EXPECT_EQ(count, 1u);
}

TEST_F(UserDictionaryTest, WordAccessorsCheckTheIndex) {
  ASSERT_EQ(d_.add_word(u"ceb", 12), kOk);
  std::uint32_t value = 0;
  char16_t text[UserDictionary::kMaxWordLength + 1];
  EXPECT_EQ(d_.word_length(0, &value), kOk);
  EXPECT_EQ(value, 3u);
  EXPECT_EQ(d_.word_text(0, text), kOk);
  EXPECT_EQ(std::u16string(text), u"ceb");
  EXPECT_EQ(d_.word_text(0, nullptr), kBadArgument);
  EXPECT_EQ(d_.word_length(1, &value), kUdBadWordIndex);
  EXPECT_EQ(d_.word_text(1, text), kUdBadWordIndex);
  EXPECT_EQ(d_.word_probability(1, &value), kUdBadWordIndex);
  EXPECT_EQ(d_.set_probability(1, 5), kUdBadWordIndex);
}

TEST_F(UserDictionaryTest, EditingTheAlphabetEmptiesTheWords) {
  ASSERT_EQ(d_.add_word(u"ab", 1), kOk);
  const std::uint32_t letters = d_.letter_count();
  EXPECT_EQ(d_.add_letter(UserDictionary::kWeightLimit, u'z', u'z', false, false),
            kUdWeightTooLarge);
  EXPECT_EQ(d_.set_letter_weight(letters, 1), kUdBadLetterIndex);
  EXPECT_EQ(d_.set_letter_code(letters, u'z'), kUdBadLetterIndex);
  EXPECT_EQ(d_.remove_letter(letters), kUdBadLetterIndex);
  EXPECT_EQ(d_.word_count(), 1u);

  // A new entry for a code goes before the old one and wins the lookups.
  ASSERT_EQ(d_.add_letter(0, u'b', u'B', true, true), kOk);
  EXPECT_EQ(d_.word_count(), 0u);
  EXPECT_EQ(d_.segment_count(), 0u);
  ASSERT_EQ(d_.add_word(u"abc", 1), kOk);
  EXPECT_EQ(segments_of(d_), (std::vector<std::u16string>{u"a=1", u"c=1"}));

  ASSERT_EQ(d_.set_letter_code(0, u'z'), kOk);  // ' ' becomes 'z' and moves
  EXPECT_TRUE(d_.has_letter(u'z'));
  EXPECT_FALSE(d_.has_letter(u' '));
  EXPECT_EQ(d_.letter_count(), letters + 1);
  for (std::uint32_t i = 0; i < d_.letter_count(); ++i) {
    EXPECT_EQ(d_.letter_at(i).code, d_.collation_at(i).code);
    if (i > 0) {
      EXPECT_LE(d_.letter_at(i - 1).code, d_.letter_at(i).code);
    }
  }
}

// Filling a dictionary at once, as a stored one is read, must give what
// adding the same words one by one gives: the same words in the same order,
// the same segment sums and the first refusal's status. The words mix
// refused ones (bad length, letters outside the alphabet, probability 0),
// words that collate equal ("ë" as "e"), and large probabilities whose
// sums pass the limit.
TEST_F(UserDictionaryTest, FillingAtOnceEqualsAddingOneByOne) {
  const std::u16string letters = u"abceëéAxy- ";
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    UserDictionary one_by_one(5);
    UserDictionary at_once(5);
    add_test_alphabet(one_by_one);
    add_test_alphabet(at_once);
    DynArray<UserWord> words;
    int first_refusal = kOk;
    for (int n = random() % 40; n > 0; --n) {
      std::u16string text(random() % 7, u'a');
      for (char16_t& c : text) c = letters[random() % letters.size()];
      if (random() % 20 == 0) text += u'z';
      const std::uint32_t probability =
          random() % 10 == 0 ? 0 : 1 + random() % (random() % 2 ? 60000 : 9);
      const int status = one_by_one.add_word(text, probability);
      if (first_refusal == kOk) first_refusal = status;
      UserWord word;
      ASSERT_EQ(assign_units(word.text, text), kOk);
      word.probability = probability;
      ASSERT_EQ(words.push_back(std::move(word)), kOk);
    }
    EXPECT_EQ(at_once.fill_words(words), first_refusal);
    EXPECT_EQ(words_of(at_once), words_of(one_by_one));
    EXPECT_EQ(segments_of(at_once), segments_of(one_by_one));
    for (std::uint32_t i = 0; i < at_once.word_count(); ++i) {
      EXPECT_EQ(at_once.word_at(i).probability, one_by_one.word_at(i).probability);
    }
  }
  DynArray<UserWord> more;
  EXPECT_EQ(d_.add_word(u"ab", 1), kOk);
  EXPECT_EQ(d_.fill_words(more), kBadArgument);  // only an empty dictionary is filled
}

TEST_F(UserDictionaryTest, PlainLettersAreAddedOnceEachInCodeOrder) {
  UserDictionary sequential(5);
  add_test_alphabet(sequential);
  const std::u16string codes = u"zq€zbAq\u0001";
  for (char16_t code : codes) {
    if (!sequential.has_letter(code)) {
      ASSERT_EQ(sequential.add_letter(0, code, code, false, true), kOk);
    }
  }
  ASSERT_EQ(d_.add_word(u"ab", 1), kOk);
  ASSERT_EQ(d_.add_plain_letters(codes), kOk);
  EXPECT_EQ(d_.word_count(), 0u);  // a new alphabet empties the words
  ASSERT_EQ(d_.letter_count(), sequential.letter_count());
  for (std::uint32_t i = 0; i < d_.letter_count(); ++i) {
    EXPECT_EQ(d_.letter_at(i).code, sequential.letter_at(i).code);
    EXPECT_EQ(d_.letter_at(i).folded, sequential.letter_at(i).folded);
    EXPECT_EQ(d_.letter_at(i).separator, sequential.letter_at(i).separator);
    EXPECT_EQ(d_.collation_at(i).code, sequential.collation_at(i).code);
    EXPECT_EQ(d_.collation_at(i).weight, sequential.collation_at(i).weight);
    EXPECT_EQ(d_.collation_at(i).unordered, sequential.collation_at(i).unordered);
  }
}

TEST(UserDictionaryListTest, DictionariesStaySortedByCharset) {
  UserDictionaryList list;
  ASSERT_EQ(list.add_dictionary(7), kOk);
  ASSERT_EQ(list.add_dictionary(4), kOk);
  ASSERT_EQ(list.add_dictionary(30), kOk);
  EXPECT_EQ(list.add_dictionary(7), kUdDictionaryExists);
  std::uint32_t position = 0;
  EXPECT_TRUE(list.find_charset(7, &position));
  EXPECT_EQ(position, 1u);
  EXPECT_FALSE(list.find_charset(5, &position));
  EXPECT_EQ(position, 1u);
  EXPECT_FALSE(list.find_charset(31, &position));
  EXPECT_EQ(position, 3u);
  const UserDictionary* dictionary = nullptr;
  ASSERT_EQ(list.at(2, &dictionary), kOk);
  EXPECT_EQ(dictionary->charset_id(), 30u);
  EXPECT_EQ(list.at(3, &dictionary), kUdBadDictionaryIndex);
  EXPECT_EQ(list.remove_dictionary(3), kUdBadDictionaryIndex);
  ASSERT_EQ(list.remove_dictionary(0), kOk);
  ASSERT_EQ(list.at(0, &dictionary), kOk);
  EXPECT_EQ(dictionary->charset_id(), 7u);
}

}  // namespace
}  // namespace inkrec
