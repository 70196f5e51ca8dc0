#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/database/standard_dictionary.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/status.h"
#include "tests/support/temp_dir.h"
#include "tests/support/english_word_list.h"

namespace inkrec {
namespace {

using Image = std::vector<std::uint8_t>;

std::vector<WordListEntry> entries_of(std::initializer_list<const char16_t*> words) {
  std::vector<WordListEntry> entries;
  for (const char16_t* word : words) entries.push_back({word, 0});
  return entries;
}

Image build(const std::vector<WordListEntry>& words) {
  Image image;
  EXPECT_EQ(build_word_list(words, &image), kOk);
  return image;
}

std::vector<WordListEntry> english_words() { return testing::fixture_english_words(); }

// The letters of the map as "letter:state" pairs, for readable failures.
std::string letters_of(const CharSlotMap& map) {
  std::string text;
  for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) {
    if (map.slot(c) != CharSlotMap::kEmpty) {
      text += static_cast<char>(c);
      text += ':' + std::to_string(map.slot(c)) + ' ';
    }
  }
  return text;
}

// A list held as a plain set, answering the questions the word list answers.
class PlainList {
 public:
  explicit PlainList(const std::vector<WordListEntry>& words) {
    for (const auto& [word, level] : word_levels(words, WordListColumn::kFrequency)) {
      numbers_.emplace(word, static_cast<int>(level));
    }
  }

  const std::map<std::u16string, int>& words() const { return numbers_; }

  int number(const std::u16string& word) const {
    const auto found = numbers_.find(word);
    return found == numbers_.end() ? -1 : found->second;
  }
  bool has_prefix(const std::u16string& prefix, std::uint32_t length) const {
    for (auto it = numbers_.lower_bound(prefix); it != numbers_.end(); ++it) {
      if (!it->first.starts_with(prefix)) break;
      if (length == 0 || it->first.size() == length) return true;
    }
    return false;
  }
  // Over a map that holds the start's marks (none when null).
  std::string letters_after(const std::u16string& prefix,
                            const CharSlotMap* start = nullptr) const {
    CharSlotMap map;
    map.init(&identity_table());
    if (start != nullptr) map.copy_slots(*start);
    for (auto it = numbers_.lower_bound(prefix); it != numbers_.end(); ++it) {
      if (!it->first.starts_with(prefix)) break;
      if (it->first.size() > prefix.size()) {
        map.mark(it->first[prefix.size()], it->first.size() == prefix.size() + 1
                                               ? CharSlotMap::kWordEnds
                                               : CharSlotMap::kLetterContinues);
      }
    }
    return letters_of(map);
  }
  std::vector<std::u16string> completions(const std::u16string& prefix, std::size_t n) const {
    std::vector<std::pair<int, std::u16string>> found;
    for (auto it = numbers_.lower_bound(prefix); it != numbers_.end(); ++it) {
      if (!it->first.starts_with(prefix)) break;
      found.emplace_back(-it->second, it->first);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::u16string> best;
    for (std::size_t i = 0; i < std::min(n, found.size()); ++i) best.push_back(found[i].second);
    return best;
  }

  static const DynArray<std::uint32_t>& identity_table() {
    static const DynArray<std::uint32_t> table = [] {
      DynArray<std::uint32_t> t;
      for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) t.push_back(c);
      return t;
    }();
    return table;
  }

 private:
  std::map<std::u16string, int> numbers_;
};

std::string letters_after(StandardDictionary& list, const std::u16string& prefix,
                          const CharSlotMap* start = nullptr) {
  CharSlotMap map;
  map.init(&PlainList::identity_table());
  if (start != nullptr) map.copy_slots(*start);
  list.search_word(prefix, map);
  return letters_of(map);
}

// A map as the letter search hands one over: some letters may already end
// a word, some continue one, some hold another state.
CharSlotMap marked_map() {
  CharSlotMap map;
  map.init(&PlainList::identity_table());
  for (char16_t c = u'a'; c <= u'z'; c += 3) map.mark(c, CharSlotMap::kWordEnds);
  for (char16_t c = u'b'; c <= u'z'; c += 3) map.mark(c, CharSlotMap::kLetterContinues);
  map.mark(u'c', 7);
  return map;
}

std::vector<std::u16string> completions(const StandardDictionary& list,
                                        const std::u16string& prefix, std::uint32_t n) {
  DynArray<WideString> out;
  EXPECT_EQ(list.complete_prefix(prefix, n, &out), kOk);
  std::vector<std::u16string> words;
  for (const WideString& word : out) words.emplace_back(view(word));
  return words;
}

// Every question on every prefix of every word, and on random non-words,
// answered as the plain set answers it.
void expect_same_answers(StandardDictionary& list, const PlainList& plain) {
  std::set<std::u16string> prefixes;
  for (const auto& [word, number] : plain.words()) {
    int value = 0;
    ASSERT_TRUE(list.word_value(word, &value)) << std::string(word.begin(), word.end());
    EXPECT_EQ(value, number);
    for (std::size_t n = 0; n <= word.size(); ++n) prefixes.insert(word.substr(0, n));
  }
  std::mt19937 random(12);
  for (int i = 0; i < 3000; ++i) {
    std::u16string text(1 + random() % 12, u'a');
    for (char16_t& c : text) c = static_cast<char16_t>(u'a' + random() % 26);
    int value = 0;
    EXPECT_EQ(list.word_value(text, &value), plain.number(text) >= 0);
    EXPECT_EQ(value, plain.number(text));
    prefixes.insert(text);
  }
  for (const std::u16string& prefix : prefixes) {
    SCOPED_TRACE(std::string(prefix.begin(), prefix.end()));
    EXPECT_EQ(letters_after(list, prefix), plain.letters_after(prefix));
    // The empty prefix also begins the letter entries.
    if (prefix.empty()) continue;
    EXPECT_EQ(list.prefix_value(prefix, 0), plain.has_prefix(prefix, 0));
    const auto length = static_cast<std::uint32_t>(prefix.size() + 2);
    EXPECT_EQ(list.prefix_value(prefix, length), plain.has_prefix(prefix, length));
    EXPECT_EQ(completions(list, prefix, 5), plain.completions(prefix, 5));
  }
  // Asked again, in the other order, the short prefixes are answered from
  // what the letter entries gave the first time and the long ones from the
  // letters kept for them, also over a map that already holds marks.
  const CharSlotMap marked = marked_map();
  for (auto it = prefixes.rbegin(); it != prefixes.rend(); ++it) {
    const std::u16string& prefix = *it;
    SCOPED_TRACE(std::string(prefix.begin(), prefix.end()));
    if (prefix.size() < StandardDictionary::kLetterEntryPrefixes) {
      EXPECT_EQ(letters_after(list, prefix), plain.letters_after(prefix));
      continue;
    }
    EXPECT_EQ(letters_after(list, prefix), plain.letters_after(prefix));
    EXPECT_EQ(letters_after(list, prefix, &marked), plain.letters_after(prefix, &marked));
  }
}

TEST(WordListTest, EnglishListAnswersAsAPlainSetMappedAndRead) {
  const std::vector<WordListEntry> words = english_words();
  ASSERT_GT(words.size(), 3000u);
  const PlainList plain(words);
  const Image image = build(words);

  StandardDictionary mapped;
  ASSERT_TRUE(mapped.attach(image));
  expect_same_answers(mapped, plain);

  testing::TempDir dir;
  ASSERT_EQ(write_word_list(dir.file("eng.wlb"), image), kOk);
  FileHolder file;
  ASSERT_TRUE(file.open(dir.file("eng.wlb").c_str(), "rb"));
  StandardDictionary read;
  ASSERT_TRUE(read.read(file));
  expect_same_answers(read, plain);
}

TEST(WordListTest, LongWordsAndTheirPrefixesPastTheCachedUnits) {
  const std::u16string stem(40, u'q');
  std::vector<WordListEntry> words;
  for (const char16_t* tail : {u"a", u"ab", u"abc", u"b", u"zz"}) {
    words.push_back({u"quick" + stem + tail, 0});
    words.push_back({u"quick" + std::u16string(tail), 0});
  }
  words.push_back({std::u16string(100, u'x'), 0});
  const PlainList plain(words);
  const Image image = build(words);
  StandardDictionary list;
  ASSERT_TRUE(list.attach(image));
  expect_same_answers(list, plain);
  // Asked again, a long prefix is answered from the cache as it stands.
  EXPECT_EQ(letters_after(list, u"quickq"), letters_after(list, u"quickq"));
  EXPECT_EQ(letters_after(list, u"quickq"), plain.letters_after(u"quickq"));
}

TEST(WordListTest, EqualNumbersKeepListOrderAndMaximumDropsTheLast) {
  // The letter entries of the first letters all carry 1 or 2.
  StandardDictionary list;
  const Image image = build(entries_of({u"cd", u"b", u"a", u"ef"}));
  ASSERT_TRUE(list.attach(image));
  EXPECT_EQ(completions(list, u"1", 10), (std::vector<std::u16string>{u"1a", u"1b", u"1c", u"1e"}));
  EXPECT_EQ(completions(list, u"1", 3), (std::vector<std::u16string>{u"1a", u"1b", u"1c"}));
  EXPECT_EQ(completions(list, u"1", 0), std::vector<std::u16string>{});
  // Words without frequencies share the default level, so they come in the
  // list's own (sorted) order, ahead of the letter entries.
  EXPECT_EQ(completions(list, u"", 2), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(WordListTest, CompletionsAreAppendedBehindWhatTheListHeld) {
  StandardDictionary list;
  const Image image = build(entries_of({u"tea", u"ten", u"tent"}));
  ASSERT_TRUE(list.attach(image));
  DynArray<WideString> out;
  WideString held;
  ASSERT_EQ(assign_units(held, u"kept"), kOk);
  ASSERT_EQ(out.push_back(std::move(held)), kOk);
  ASSERT_EQ(list.complete_prefix(u"ten", 5, &out), kOk);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(view(out[0]), u"kept");
  EXPECT_EQ(view(out[1]), u"ten");
  EXPECT_EQ(view(out[2]), u"tent");
}

TEST(WordListTest, TrigramsOfAPrefix) {
  StandardDictionary list;
  const Image image = build(entries_of({u"stand", u"standard", u"stone", u"stony", u"st"}));
  ASSERT_TRUE(list.attach(image));
  DynArray<WideString> trigrams;
  ASSERT_EQ(list.collect_trigrams(u"st", &trigrams), kOk);
  ASSERT_EQ(trigrams.size(), 3u);
  EXPECT_EQ(view(trigrams[0]), u"and");
  EXPECT_EQ(view(trigrams[1]), u"one");
  EXPECT_EQ(view(trigrams[2]), u"ony");
  EXPECT_TRUE(StandardDictionary::has_trigram(trigrams, u"onex"));
  EXPECT_FALSE(StandardDictionary::has_trigram(trigrams, u"ono"));
}

TEST(WordListTest, EmptyListHasATreeOfOneEntryAndFindsNothing) {
  const Image image = build({});
  StandardDictionary list;
  ASSERT_TRUE(list.attach(image));
  EXPECT_EQ(image[0], 2);  // one tree entry
  int value = 0;
  EXPECT_FALSE(list.word_value(u"a", &value));
  EXPECT_EQ(value, -1);
  EXPECT_FALSE(list.prefix_value(u"", 0));
  EXPECT_EQ(letters_after(list, u""), "");
  EXPECT_TRUE(completions(list, u"", 5).empty());
}

TEST(WordListTest, AnUnloadedListFindsNothing) {
  StandardDictionary list;
  int value = 0;
  EXPECT_FALSE(list.word_value(u"a", &value));
  EXPECT_FALSE(list.prefix_value(u"a", 0));
  EXPECT_EQ(letters_after(list, u"abcdef"), "");
  EXPECT_TRUE(completions(list, u"a", 5).empty());
}

TEST(WordListTest, TruncatedImagesAreRefusedWhetherMappedOrRead) {
  const Image image = build(english_words());
  testing::TempDir dir;
  for (std::size_t length :
       {std::size_t{0}, std::size_t{3}, std::size_t{19}, std::size_t{20}, std::size_t{200},
        image.size() / 2, image.size() - 4, image.size() - 1}) {
    SCOPED_TRACE(length);
    const Image cut(image.begin(), image.begin() + static_cast<long>(length));
    StandardDictionary list;
    EXPECT_FALSE(list.attach(cut));
    EXPECT_FALSE(list.is_loaded());
    testing::write_bytes(dir.file("cut.wlb"), cut);
    FileHolder file;
    ASSERT_TRUE(file.open(dir.file("cut.wlb").c_str(), "rb"));
    EXPECT_FALSE(list.read(file));
    EXPECT_FALSE(list.is_loaded());
  }
  // An image may be longer than the list, whether held or read.
  Image longer = image;
  longer.resize(image.size() + 4);
  StandardDictionary list;
  EXPECT_TRUE(list.attach(longer));
  testing::write_bytes(dir.file("long.wlb"), longer);
  FileHolder file;
  ASSERT_TRUE(file.open(dir.file("long.wlb").c_str(), "rb"));
  EXPECT_TRUE(list.read(file));
}

TEST(WordListTest, BadHeadersAreRefused) {
  const Image image = build(entries_of({u"one", u"two"}));
  struct Case {
    const char* what;
    std::size_t offset;
    std::int32_t value;
  };
  for (const Case& c : {Case{"odd tree", 0, 3}, Case{"no tree", 0, 0}, Case{"negative tree", 0, -4},
                        Case{"index not of records", 4, 20}, Case{"negative bits", 8, -1},
                        Case{"huge bits", 8, 0x7FFFFFFF}, Case{"negative bound", 12, -5},
                        Case{"key too long", 16, 7}}) {
    SCOPED_TRACE(c.what);
    Image bad = image;
    std::memcpy(&bad[c.offset], &c.value, sizeof c.value);
    StandardDictionary list;
    EXPECT_FALSE(list.attach(bad));
  }
}

TEST(WordListTest, CorruptContentNeverReadsPastTheImage) {
  const Image image = build(english_words());
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    // The header stays sound; any byte behind it may be wrong.
    Image bad = image;
    for (int n = 0; n < 8; ++n) {
      bad[20 + random() % (bad.size() - 20)] = static_cast<std::uint8_t>(random());
    }
    StandardDictionary list;
    ASSERT_TRUE(list.attach(bad));
    int value = 0;
    list.word_value(u"the", &value);
    list.prefix_value(u"wor", 5);
    letters_after(list, u"th");
    letters_after(list, u"there");
    completions(list, u"a", 10);
  }
}

TEST(WordListTest, WordsThatCannotStandInAList) {
  EXPECT_EQ(check_list_word(u""), WordFault::kLength);
  EXPECT_EQ(check_list_word(std::u16string(101, u'a')), WordFault::kLength);
  EXPECT_EQ(check_list_word(std::u16string(100, u'a')), WordFault::kNone);
  EXPECT_EQ(check_list_word(u"a\tb"), WordFault::kControlUnit);
  EXPECT_EQ(check_list_word(u"2nd"), WordFault::kLeadingDigit);
  EXPECT_EQ(check_list_word(u"6th"), WordFault::kNone);
  Image image;
  EXPECT_EQ(build_word_list(entries_of({u"ok", u"3rd"}), &image), kBadArgument);

  WordListEntry entry;
  EXPECT_EQ(parse_word_list_line("  word\t 42\r", &entry), WordListLine::kWord);
  EXPECT_EQ(entry.word, u"word");
  EXPECT_EQ(entry.frequency, 42u);
  EXPECT_EQ(parse_word_list_line("\xd1\x91\xd0\xb6", &entry), WordListLine::kWord);
  EXPECT_EQ(entry.word, u"ёж");
  EXPECT_EQ(entry.frequency, 0u);
  EXPECT_EQ(parse_word_list_line(" \t\r", &entry), WordListLine::kEmpty);
  EXPECT_EQ(parse_word_list_line("two words", &entry), WordListLine::kMalformed);
  EXPECT_EQ(parse_word_list_line("word 4x", &entry), WordListLine::kMalformed);
  EXPECT_EQ(parse_word_list_line("a b 1", &entry), WordListLine::kMalformed);
}

TEST(WordListTest, NumbersAreLevelsOnALogScaleOfTheFrequencies) {
  // least 1, most 2^18: one level per doubling, rounded.
  struct Case {
    std::uint64_t frequency;
    std::uint32_t level;
  };
  for (const Case& c : {Case{262144, 18}, Case{4096, 12}, Case{256, 8}, Case{6, 3}, Case{5, 2},
                        Case{1, 0}, Case{0, 0}, Case{1000000, 18}}) {
    EXPECT_EQ(level_of_frequency(c.frequency, 1, 262144), c.level) << c.frequency;
  }
  EXPECT_EQ(level_of_frequency(7, 7, 7), kMaxWordLevel);

  StandardDictionary list;
  const Image image = build({{u"rare", 1},
                             {u"common", 262144},
                             {u"plain", 0},
                             {u"often", 262144},
                             {u"middle", 256},
                             {u"rare", 500}});
  ASSERT_TRUE(list.attach(image));
  int value = 0;
  for (const auto& [word, number] : std::vector<std::pair<const char16_t*, int>>{
           {u"common", 18}, {u"often", 18}, {u"middle", 8}, {u"rare", 0}, {u"plain", 0}}) {
    EXPECT_TRUE(list.word_value(word, &value));
    EXPECT_EQ(value, number) << std::string(word, word + 1);
  }
}

TEST(WordListTest, CountsGiveSixLevelsADecadeWhateverTheListHolds) {
  // Level 9 at a count of 1000; not relative to the list's least and most
  // counts, so a word's level does not move with the words beside it.
  struct Case {
    std::uint64_t count;
    std::uint32_t level;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 0}, Case{38, 0}, Case{39, 1}, Case{100, 3},
                        Case{681, 8}, Case{1000, 9}, Case{10000, 15}, Case{26000, 17},
                        Case{27000, 18}, Case{2134713, 18},
                        Case{std::numeric_limits<std::uint64_t>::max(), 18}}) {
    EXPECT_EQ(level_of_count(c.count), c.level) << c.count;
  }

  StandardDictionary list;
  Image image;
  // "mote" has no count: the counts' list lacks it.
  const std::vector<WordListEntry> counted = {{u"move", 20000}, {u"mote", 0}, {u"mode", 900}};
  ASSERT_EQ(build_word_list(counted, &image, WordListColumn::kCount), kOk);
  ASSERT_TRUE(list.attach(image));
  int value = 0;
  for (const auto& [word, number] : std::vector<std::pair<const char16_t*, int>>{
           {u"move", 17}, {u"mode", 9}, {u"mote", 0}}) {
    EXPECT_TRUE(list.word_value(word, &value));
    EXPECT_EQ(value, number) << std::string(word, word + 1);
  }
  EXPECT_EQ(completions(list, u"mo", 3), (std::vector<std::u16string>{u"move", u"mode", u"mote"}));
}

TEST(WordListTest, AListWithoutFrequenciesOrWithLevelsAsWritten) {
  StandardDictionary plain;
  const Image plain_image = build(entries_of({u"cat", u"dog"}));
  ASSERT_TRUE(plain.attach(plain_image));
  int value = 0;
  EXPECT_TRUE(plain.word_value(u"dog", &value));
  EXPECT_EQ(value, static_cast<int>(kDefaultWordLevel));

  StandardDictionary levels;
  Image image;
  const std::vector<WordListEntry> with_levels = {{u"cat", 3}, {u"dog", 18}, {u"emu", 0}};
  ASSERT_EQ(build_word_list(with_levels, &image, WordListColumn::kLevel), kOk);
  ASSERT_TRUE(levels.attach(image));
  for (const auto& [word, number] :
       std::vector<std::pair<const char16_t*, int>>{{u"cat", 3}, {u"dog", 18}, {u"emu", 0}}) {
    EXPECT_TRUE(levels.word_value(word, &value));
    EXPECT_EQ(value, number) << std::string(word, word + 1);
  }
  EXPECT_EQ(completions(levels, u"", 2), (std::vector<std::u16string>{u"dog", u"cat"}));
  const std::vector<WordListEntry> too_high = {{u"cat", 19}};
  EXPECT_EQ(build_word_list(too_high, &image, WordListColumn::kLevel), kBadArgument);
}

}  // namespace
}  // namespace inkrec
