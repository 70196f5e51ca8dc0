#include "engine/database/dictionary_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/user_dictionary_status.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/status.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/file_limits.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

// The bytes of a "user.ulb".
class UlbBytes {
 public:
  UlbBytes& u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  UlbBytes& word(std::u16string_view text, std::uint32_t probability) {
    u32(static_cast<std::uint32_t>(text.size()));
    for (char16_t c : text) {
      bytes.push_back(static_cast<std::uint8_t>(c));
      bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return u32(probability);
  }
  // A dictionary without codes of its own.
  UlbBytes& dictionary(std::uint32_t id, std::uint32_t words) { return u32(id).u32(0).u32(words); }

  std::vector<std::uint8_t> bytes;
};

std::vector<std::u16string> words_of(const UserDictionary& d) {
  std::vector<std::u16string> words;
  for (std::uint32_t i = 0; i < d.word_count(); ++i) words.emplace_back(view(d.word_at(i).text));
  return words;
}

class DictionarySetTest : public ::testing::Test {
 protected:
  DictionarySetTest() {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    testing::add_dictionary_charsets(*store_);
    write_list("eng.wlb", {u"cat", u"the", u"then", u"there"});
    std::filesystem::create_directory(dir_.path() / "de");
    write_list("de/deu.wlb", {u"das", u"der", u"die"});
    write_list("bad.wlb", {u"cat", u"dog"});
    std::filesystem::resize_file(dir_.path() / "bad.wlb", 30);
  }

  void write_list(const std::string& name, std::initializer_list<const char16_t*> words) {
    std::vector<WordListEntry> entries;
    for (const char16_t* word : words) entries.push_back({word, 0});
    std::vector<std::uint8_t> image;
    ASSERT_EQ(build_word_list(entries, &image), kOk);
    ASSERT_EQ(write_word_list(dir_.file(name), image), kOk);
  }

  void write_ulb(const UlbBytes& ulb) { testing::write_bytes(dir_.file("user.ulb"), ulb.bytes); }

  std::unique_ptr<DictionarySet> make_set() {
    return std::make_unique<DictionarySet>(data_dir(), *store_, u"");
  }
  std::u16string data_dir() const { return dir_.wide_file(""); }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
};

TEST_F(DictionarySetTest, SwitchingKeepsTheCurrentListUntilTheNewOneLoads) {
  const auto set = make_set();
  EXPECT_FALSE(set->user_file_loaded());
  EXPECT_EQ(set->current_charset(), 0u);

  ASSERT_EQ(set->select_charset(5), kOk);
  int number = 0;
  EXPECT_TRUE(set->standard_word_value(u"then", &number));
  EXPECT_EQ(set->word_exists(u"the", 5), 1);

  // "deu.wlb" is not in the data directory, "xyz.wlb" nowhere, "bad.wlb"
  // is cut short, 9 has no charset record and 43 no directory.
  for (const auto& [charset, status] :
       std::vector<std::pair<std::uint32_t, int>>{{6, kWordListNotFound},
                                                  {7, kWordListNotFound},
                                                  {8, kWordListOpen},
                                                  {9, kRejected},
                                                  {43, kBadArgument}}) {
    EXPECT_EQ(set->select_charset(charset), status) << charset;
    EXPECT_EQ(set->current_charset(), 5u);
    EXPECT_TRUE(set->standard_word_value(u"then", &number));
  }

  const std::u16string german_dir = dir_.wide_file("de/") + u"ignored";
  ASSERT_EQ(set->set_path(6, german_dir.c_str(), static_cast<std::uint32_t>(german_dir.size() - 7)),
            kOk);
  ASSERT_EQ(set->select_charset(6), kOk);
  EXPECT_TRUE(set->standard_word_value(u"die", &number));
  EXPECT_FALSE(set->standard_word_value(u"then", &number));
  EXPECT_EQ(set->select_charset(6), kOk);  // already current: nothing to do

  ASSERT_EQ(set->select_charset(0), kOk);
  EXPECT_FALSE(set->standard_dictionary().is_loaded());
  EXPECT_FALSE(set->standard_word_value(u"die", &number));
  DynArray<WideString> completions;
  EXPECT_EQ(set->complete_prefix(u"d", 5, &completions), kOk);
  EXPECT_TRUE(completions.empty());
  ASSERT_EQ(set->select_charset(6), kOk);
  EXPECT_EQ(set->complete_prefix(u"d", 2, &completions), kOk);
  EXPECT_EQ(completions.size(), 2u);
  EXPECT_EQ(set->append_completions(u"de", 5, &completions), kOk);
  ASSERT_EQ(completions.size(), 3u);
  EXPECT_EQ(view(completions[2]), u"der");
}

TEST_F(DictionarySetTest, UserDictionariesOfSeveralCharsetsSurviveSaveAndReload) {
  write_ulb(UlbBytes().u32(2).dictionary(5, 0).dictionary(6, 0));
  const auto set = make_set();
  EXPECT_TRUE(set->user_file_loaded());
  UserDictionaryList& list = set->user_dictionaries();
  ASSERT_EQ(list.count(), 2u);
  UserDictionary* english = nullptr;
  UserDictionary* german = nullptr;
  ASSERT_EQ(list.at_mutable(0, &english), kOk);
  ASSERT_EQ(list.at_mutable(1, &german), kOk);
  // A code of the file's own: an unordered letter folding to itself.
  ASSERT_EQ(german->add_letter(0, u'€', u'€', false, true), kOk);
  for (const auto& [text, p] : std::vector<std::pair<const char16_t*, std::uint32_t>>{
           {u"zebra", 3}, {u"cat-dog", 40}, {u"catalog", 7}}) {
    ASSERT_EQ(english->add_word(text, p), kOk);
  }
  EXPECT_EQ(english->add_word(u"bär", 1), kUdCharOutsideAlphabet);
  ASSERT_EQ(german->add_word(u"bär", 9), kOk);
  ASSERT_EQ(german->add_word(u"bar", 2), kOk);
  ASSERT_EQ(german->add_word(u"€", 1), kOk);
  EXPECT_EQ(german->add_word(u"5€", 1), kUdCharOutsideAlphabet);
  const std::vector<std::u16string> english_words = words_of(*english);
  const std::vector<std::u16string> german_words = words_of(*german);
  EXPECT_EQ(english_words, (std::vector<std::u16string>{u"cat-dog", u"catalog", u"zebra"}));
  // "ä" sorts with "a" first and after it second; unordered letters first.
  EXPECT_EQ(german_words, (std::vector<std::u16string>{u"€", u"bar", u"bär"}));
  const auto names_before = testing::names_in(dir_.path());
  ASSERT_EQ(set->save_user_dictionaries(), kOk);
  EXPECT_EQ(testing::names_in(dir_.path()), names_before);

  const auto again = make_set();
  ASSERT_EQ(again->user_dictionaries().count(), 2u);
  const UserDictionary* d = nullptr;
  ASSERT_EQ(again->user_dictionaries().at(0, &d), kOk);
  EXPECT_EQ(d->charset_id(), 5u);
  EXPECT_EQ(words_of(*d), english_words);
  std::uint32_t position = 0;
  ASSERT_TRUE(d->find_segment(u"cat", &position));
  std::uint32_t sum = 0;
  ASSERT_EQ(d->segment_probability(position, &sum), kOk);
  EXPECT_EQ(sum, 40u);
  ASSERT_EQ(again->user_dictionaries().at(1, &d), kOk);
  EXPECT_EQ(words_of(*d), german_words);
  ASSERT_TRUE(d->find_segment(u"bar", &position));
  ASSERT_EQ(d->segment_probability(position, &sum), kOk);
  EXPECT_EQ(sum, 11u);  // "bar" and "bär" fold alike
}

TEST_F(DictionarySetTest, QueriesAskTheWordListFirstAndTheUserDictionarySecond) {
  write_ulb(UlbBytes().u32(1).dictionary(5, 2).word(u"zebu", 300).word(u"thy", 1));
  const auto set = make_set();
  CharSlotMap map;
  EXPECT_EQ(set->user_word_exists(u"zebu", 4), kBadArgument);  // no current charset
  EXPECT_EQ(set->user_letters_after(u"z", map), kBadArgument);
  ASSERT_EQ(set->select_charset(5), kOk);
  EXPECT_EQ(set->user_index(), 0);

  int number = 0;
  EXPECT_EQ(set->word_number(u"then", &number), 1);
  EXPECT_EQ(number, static_cast<int>(kDefaultWordLevel));  // a list without frequencies
  EXPECT_EQ(set->word_number(u"zebu", &number), 1);
  EXPECT_EQ(number, 9);  // 300 takes nine bits
  EXPECT_EQ(set->word_number(u"zeb", &number), 0);
  EXPECT_EQ(set->word_exists(u"zeb", 4), 1);
  EXPECT_EQ(set->word_exists(u"zeb", 5), -1);

  DynArray<std::uint32_t> table;
  for (std::uint32_t c = 0; c < 128; ++c) table.push_back(c);
  map.init(&table);
  EXPECT_EQ(set->check_word(u"th", map), kOk);
  EXPECT_EQ(map.slot_value(u'e'), CharSlotMap::kWordEnds);  // "the"
  EXPECT_EQ(map.slot_value(u'y'), CharSlotMap::kWordEnds);  // "thy", user's
  EXPECT_EQ(map.slot_value(u'a'), CharSlotMap::kEmpty);
}

TEST_F(DictionarySetTest, TheUserIndexFollowsAReload) {
  write_ulb(UlbBytes().u32(2).dictionary(5, 0).dictionary(6, 0));
  const auto set = make_set();
  const std::u16string german_dir = dir_.wide_file("de/");
  ASSERT_EQ(set->set_path(6, german_dir.c_str(), static_cast<std::uint32_t>(german_dir.size())),
            kOk);
  ASSERT_EQ(set->select_charset(6), kOk);
  EXPECT_EQ(set->user_index(), 1);

  write_ulb(UlbBytes().u32(3).dictionary(3, 0).dictionary(5, 0).dictionary(6, 0));
  ASSERT_EQ(set->reload_user_dictionaries(), kOk);
  EXPECT_EQ(set->user_index(), 2);
  write_ulb(UlbBytes().u32(1).dictionary(5, 0));
  ASSERT_EQ(set->reload_user_dictionaries(), kOk);
  EXPECT_EQ(set->user_index(), -1);

  std::filesystem::remove(dir_.file("user.ulb"));
  EXPECT_EQ(set->reload_user_dictionaries(), kWordListNotFound);
  EXPECT_EQ(set->user_dictionaries().count(), 1u);  // kept as they were
}

TEST_F(DictionarySetTest, BadWordsAreLeftOutAndTheRestStaysForTheNextSave) {
  struct Case {
    const char* what;
    std::u16string bad;
    std::uint32_t probability;
    int status;
  };
  for (const Case& c : {Case{"outside the alphabet", u"c€t", 5, kUdCharOutsideAlphabet},
                        Case{"probability 0", u"cow", 0, kUdBadFileFormat},
                        Case{"52 units", std::u16string(52, u'a'), 5, kUdBadWordLength},
                        Case{"twice", u"cat", 5, kUdWordExists}}) {
    SCOPED_TRACE(c.what);
    write_ulb(UlbBytes()
                  .u32(2)
                  .dictionary(5, 3)
                  .word(u"cat", 5)
                  .word(c.bad, c.probability)
                  .word(u"dog", 5)
                  .dictionary(6, 1)
                  .word(u"der", 1));
    const auto set = make_set();
    EXPECT_EQ(set->reload_user_dictionaries(), c.status);
    ASSERT_EQ(set->save_user_dictionaries(), kOk);
    ASSERT_EQ(set->reload_user_dictionaries(), kOk);
    const UserDictionary* d = nullptr;
    ASSERT_EQ(set->user_dictionaries().at(0, &d), kOk);
    EXPECT_EQ(words_of(*d), (std::vector<std::u16string>{u"cat", u"dog"}));
    ASSERT_EQ(set->user_dictionaries().at(1, &d), kOk);
    EXPECT_EQ(words_of(*d), std::vector<std::u16string>{u"der"});
  }
}

TEST_F(DictionarySetTest, DamagedUserFilesGiveStatusesAndNoCrash) {
  const UlbBytes good =
      UlbBytes().u32(2).dictionary(5, 2).word(u"cat", 5).word(u"dog", 9).dictionary(6, 1).word(
          u"der", 1);
  const auto set = make_set();
  for (std::size_t length = 0; length < good.bytes.size(); ++length) {
    UlbBytes cut;
    cut.bytes.assign(good.bytes.begin(), good.bytes.begin() + static_cast<long>(length));
    write_ulb(cut);
    EXPECT_NE(set->reload_user_dictionaries(), kOk) << length;
  }
  for (const auto& [what, ulb, status] : std::vector<std::tuple<const char*, UlbBytes, int>>{
           {"101 dictionaries", UlbBytes().u32(101), kUdBadFileFormat},
           {"1000 words", UlbBytes().u32(1).dictionary(5, 1000), kUdBadFileFormat},
           {"a charset twice", UlbBytes().u32(2).dictionary(5, 0).dictionary(5, 0),
            kUdDictionaryExists},
           {"huge code count", UlbBytes().u32(1).u32(5).u32(0x40000000), kUdBadFileFormat},
           {"huge word", UlbBytes().u32(1).dictionary(5, 1).u32(0xFFFFFFF0), kUdBadFileFormat},
           {"no dictionaries", UlbBytes().u32(0), kOk}}) {
    write_ulb(ulb);
    EXPECT_EQ(set->reload_user_dictionaries(), status) << what;
  }
  std::mt19937 random(4);
  for (int round = 0; round < 300; ++round) {
    UlbBytes bad = good;
    bad.bytes[random() % bad.bytes.size()] = static_cast<std::uint8_t>(random());
    write_ulb(bad);
    set->reload_user_dictionaries();
  }
}

// A word list in use is the engine's own copy: its file overwritten in
// place or cut short does not change (nor crash) a look-up.
TEST_F(DictionarySetTest, AWordListFileChangedInPlaceCannotHarmTheListInUse) {
  const auto set = make_set();
  ASSERT_EQ(set->select_charset(5), kOk);
  const auto answers = [&] {
    int number = 0;
    DynArray<WideString> completions;
    EXPECT_EQ(set->complete_prefix(u"th", 9, &completions), kOk);
    std::vector<std::u16string> seen;
    for (const WideString& word : completions) seen.emplace_back(view(word));
    seen.push_back(set->word_number(u"there", &number) == 1 ? u"there" : u"-");
    seen.push_back(set->word_exists(u"ca", 3) == 1 ? u"cat" : u"-");
    CharSlotMap map;
    set->check_word(u"the", map);
    return seen;
  };
  const std::vector<std::u16string> before = answers();
  ASSERT_EQ(before, (std::vector<std::u16string>{u"the", u"then", u"there", u"there", u"cat"}));
  const std::string list = dir_.file("eng.wlb");
  std::filesystem::resize_file(list, 24);
  EXPECT_EQ(answers(), before);
  {
    std::ofstream overwrite(list, std::ios::binary | std::ios::in);  // as "cp" does
    overwrite << std::string(4096, 'x');
  }
  EXPECT_EQ(answers(), before);
  std::filesystem::resize_file(list, 0);
  EXPECT_EQ(answers(), before);
}

// "user.ulb" cut short: the words read whole before the cut are kept at
// start-up, the damage is reported, and the first save keeps the damaged
// file aside before writing over it.
TEST_F(DictionarySetTest, ADamagedUserFileKeepsItsWholeWordsAndIsKeptAside) {
  const UlbBytes good = UlbBytes()
                            .u32(2)
                            .dictionary(5, 3)
                            .word(u"cat", 5)
                            .word(u"dog", 9)
                            .word(u"emu", 2)
                            .dictionary(6, 1)
                            .word(u"der", 1);
  const std::size_t emu_starts = 4 + 12 + 2 * (4 + 6 + 4);
  for (const auto& [what, length] : std::vector<std::pair<const char*, std::size_t>>{
           {"word count past the end", emu_starts},
           {"in a word's length", emu_starts + 2},
           {"in a word's text", emu_starts + 7},
           {"in a probability", emu_starts + 4 + 6 + 1}}) {
    SCOPED_TRACE(what);
    std::filesystem::remove(dir_.file("user.ulb.damaged"));
    UlbBytes cut;
    cut.bytes.assign(good.bytes.begin(), good.bytes.begin() + static_cast<long>(length));
    write_ulb(cut);
    const auto set = make_set();
    EXPECT_NE(set->user_file_status(), kOk);
    ASSERT_EQ(set->user_dictionaries().count(), 1u);
    UserDictionary* d = nullptr;
    ASSERT_EQ(set->user_dictionaries().at_mutable(0, &d), kOk);
    EXPECT_EQ(words_of(*d), (std::vector<std::u16string>{u"cat", u"dog"}));

    ASSERT_EQ(d->add_word(u"owl", 3), kOk);
    ASSERT_EQ(set->save_user_dictionaries(), kOk);
    EXPECT_EQ(testing::read_bytes(dir_.file("user.ulb.damaged")), cut.bytes);
    ASSERT_EQ(set->save_user_dictionaries(), kOk);  // once kept, not again
    EXPECT_FALSE(std::filesystem::exists(dir_.file("user.ulb.damaged-2")));
    ASSERT_EQ(set->reload_user_dictionaries(), kOk);
    ASSERT_EQ(set->user_dictionaries().at_mutable(0, &d), kOk);
    EXPECT_EQ(words_of(*d), (std::vector<std::u16string>{u"cat", u"dog", u"owl"}));
  }
}

// A reload that fails keeps the dictionaries as they were; an earlier
// damaged copy is never written over.
TEST_F(DictionarySetTest, AFailedReloadKeepsTheDictionaries) {
  const UlbBytes good =
      UlbBytes().u32(2).dictionary(5, 2).word(u"cat", 5).word(u"dog", 9).dictionary(6, 1).word(
          u"der", 1);
  write_ulb(good);
  const auto set = make_set();
  ASSERT_EQ(set->user_file_status(), kOk);
  UlbBytes cut;
  cut.bytes.assign(good.bytes.begin(), good.bytes.end() - 3);
  write_ulb(cut);
  testing::write_bytes(dir_.file("user.ulb.damaged"), {1, 2, 3});
  EXPECT_NE(set->reload_user_dictionaries(), kOk);
  EXPECT_NE(set->user_file_status(), kOk);
  ASSERT_EQ(set->user_dictionaries().count(), 2u);

  ASSERT_EQ(set->save_user_dictionaries(), kOk);
  EXPECT_EQ(testing::read_bytes(dir_.file("user.ulb.damaged")), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(testing::read_bytes(dir_.file("user.ulb.damaged-2")), cut.bytes);
  ASSERT_EQ(set->reload_user_dictionaries(), kOk);
  const UserDictionary* d = nullptr;
  ASSERT_EQ(set->user_dictionaries().at(0, &d), kOk);
  EXPECT_EQ(words_of(*d), (std::vector<std::u16string>{u"cat", u"dog"}));
  ASSERT_EQ(set->user_dictionaries().at(1, &d), kOk);
  EXPECT_EQ(words_of(*d), std::vector<std::u16string>{u"der"});
}

TEST_F(DictionarySetTest, AFailedSaveLeavesTheOldFile) {
  write_ulb(UlbBytes().u32(1).dictionary(5, 1).word(u"cat", 5));
  const auto set = make_set();
  UserDictionary* d = nullptr;
  ASSERT_EQ(set->user_dictionaries().at_mutable(0, &d), kOk);
  ASSERT_EQ(d->add_word(u"dog", 1), kOk);
  const std::vector<std::uint8_t> before = testing::read_bytes(dir_.file("user.ulb"));
  const auto names_before = testing::names_in(dir_.path());
  {
    const testing::NoFreeDescriptors no_files;
    EXPECT_EQ(set->save_user_dictionaries(), kWordListNotFound);
  }
  {
    const testing::FileSizeLimit full_disk(8);
    EXPECT_EQ(set->save_user_dictionaries(), kFileIo);
  }
  EXPECT_EQ(testing::read_bytes(dir_.file("user.ulb")), before);
  EXPECT_EQ(testing::names_in(dir_.path()), names_before);
}

}  // namespace
}  // namespace inkrec
