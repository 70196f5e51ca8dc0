// The per-kernel, word-list and test-value exports: which kernel each one
// reaches, and what it answers.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/status.h"
#include "engine/foundation/wide_string.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

const crPoint kPoints[] = {{1, 2}, {3, 4}};
const crStrokeInput kStroke{kPoints, 2};

class KernelExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    params_.result_buffer = buffer_;
    params_.result_size = 8;
  }
  void TearDown() override { crFreeCrMan(); }

  // Starts the engine on a database of the dictionary charsets, with the
  // word list "eng.wlb" of charset 5.
  void start() {
    {
      DataStore store(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
      testing::add_dictionary_charsets(store);
      ASSERT_EQ(store.save(), kOk);
    }
    std::vector<std::uint8_t> image;
    const std::vector<WordListEntry> words = {{u"cab", 0}, {u"cat", 0}, {u"dog", 0}};
    ASSERT_EQ(build_word_list(words, &image), kOk);
    ASSERT_EQ(write_word_list(dir_.file("eng.wlb"), image), kOk);
    const std::u16string data = dir_.wide_file("qlmain.dt");
    ASSERT_EQ(crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  }

  testing::TempDir dir_;
  char16_t buffer_[8] = {};
  crRecognitionParams params_{};
};

TEST_F(KernelExportsTest, WithoutAKernel) {
  std::uint32_t n = 77;
  std::uint8_t state[2];
  std::uint8_t found = 9;
  void* list = nullptr;
  EXPECT_EQ(crRecognize(&params_), kNoKernel);
  EXPECT_EQ(crGetLine(&params_), kNoKernel);
  EXPECT_EQ(crAddStroke(&kStroke, 1, -1, -1), kNoKernel);
  EXPECT_EQ(crClearPane(), kNoKernel);
  EXPECT_EQ(crmSetStopFlag(), kNoKernel);
  EXPECT_EQ(crmSetQuickFlag(), kNoKernel);
  EXPECT_EQ(crmSetDebugMode(1), kNoKernel);
  EXPECT_EQ(crmGetFigOutList(&list), kNoKernel);
  EXPECT_EQ(crmSearchWordInStandardDictionary(u"cat", &found), kNoKernel);
  EXPECT_EQ(found, 9);
  // These answer -1, and -2, instead of 4001.
  EXPECT_EQ(crmGetShiftState(state), kOutOfMemory);
  EXPECT_EQ(crmSetShiftState(1), kOutOfMemory);
  EXPECT_EQ(crReloadDictPathes(nullptr, nullptr), kBadArgument);
  // A null pointer is checked before the kernel.
  EXPECT_EQ(crGetActiveCharSets(nullptr, &n), kOk);
  EXPECT_EQ(n, 77u);
  // The slot forms create an empty manager.
  EXPECT_EQ(crmSetStopFlag_ID(0), kBadKernelId);
  EXPECT_EQ(crmRecognize_ID(0, &params_), kBadKernelId);
}

TEST_F(KernelExportsTest, SlotFormsReachTheirKernel) {
  start();
  std::uint32_t second = 0;
  ASSERT_EQ(crmCreateKernel(&second), kOk);
  ASSERT_EQ(crmAddStroke_ID(0, &kStroke, 1, -1, -1), kOk);
  EXPECT_EQ(crmRecognize_ID(0, &params_), kOk);
  EXPECT_EQ(buffer_[0], u'\0');
  EXPECT_EQ(crmAddStroke_ID(0, nullptr, 1, -1, -1), kBadArgument);
  EXPECT_EQ(crmAddStroke_ID(0, &kStroke, 0, -1, -1), kBadArgument);
  EXPECT_EQ(crmClearPane_ID(second), kOk);
  EXPECT_EQ(crmSetDebugMode_ID(second, 2), kOk);
  EXPECT_EQ(crmSetStopFlag_ID(second), kOk);
  EXPECT_EQ(crmSetActiveCharsets_ID(second, nullptr, 0), kOk);
  EXPECT_EQ(crmRecognize_ID(second + 1, &params_), kBadKernelId);
  ASSERT_EQ(crmDeleteKernel(0), kOk);
  EXPECT_EQ(crmClearPane_ID(0), kKernelAlreadyDeleted);
  EXPECT_EQ(crRecognize(nullptr), kBadArgument);
}

TEST_F(KernelExportsTest, ShiftStateAndActiveCharsets) {
  start();
  ASSERT_EQ(crmSetShiftState(0x0100), kOk);
  std::uint8_t state[2] = {9, 9};
  ASSERT_EQ(crmGetShiftState(state), kOk);
  EXPECT_EQ(state[0], 0);
  EXPECT_EQ(state[1], 1);

  const std::uint32_t active[] = {6, 5};
  ASSERT_EQ(crSetActiveCharSets(active, 2), kOk);
  std::uint32_t ids[4] = {};
  std::uint32_t n = 1;  // room for one
  ASSERT_EQ(crGetActiveCharSets(ids, &n), kOk);
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(ids[0], 6u);
  EXPECT_EQ(ids[1], 0u);
  n = 4;
  ASSERT_EQ(crGetActiveCharSets(ids, &n), kOk);
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(ids[1], 5u);
}

TEST_F(KernelExportsTest, WordListQueries) {
  start();
  const std::uint32_t english = 5;
  ASSERT_EQ(crSetActiveCharSets(&english, 1), kOk);
  struct Case {
    const char16_t* word;
    std::uint8_t found;
  };
  for (const Case& c : {Case{u"cat", 1}, Case{u"ca", 0}, Case{u"cats", 0}, Case{u"", 0}}) {
    std::uint8_t found = 9;
    ASSERT_EQ(crmSearchWordInStandardDictionary(c.word, &found), kOk);
    EXPECT_EQ(found, c.found) << std::string(c.word, c.word + std::u16string(c.word).size());
  }

  DynArray<WideString> words;
  ASSERT_EQ(crGetWordWithBeg(u"ca", reinterpret_cast<crDynArray*>(&words), 5), kOk);
  std::vector<std::u16string> texts;
  for (const WideString& word : words) texts.emplace_back(view(word));
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"cab", u"cat"}));

  using namespace std::string_literals;
  // Slot i is the i-th letter of charset 5, 'a' + i. The last unit of a
  // prefix is the weight of its last letter: 0 marks nothing.
  struct Prefix {
    std::u16string codes;
    std::map<char16_t, std::uint32_t> letters;
  };
  for (const Prefix& p : {Prefix{u"c\1", {{u'a', 1}}}, Prefix{u"ca\1", {{u'b', 2}, {u't', 2}}},
                          Prefix{u"do\1", {{u'g', 2}}}, Prefix{u"xz\1", {}}, Prefix{u"c\0"s, {}},
                          Prefix{u"", {{u'c', 1}, {u'd', 1}}}}) {
    DynArray<std::uint16_t> prefix;
    for (const char16_t unit : p.codes) prefix.push_back(unit);
    std::uint32_t letters[128] = {};
    ASSERT_EQ(crmSearchLettersByTextPrefix(reinterpret_cast<const crDynArray*>(&prefix), letters),
              kOk);
    std::map<char16_t, std::uint32_t> marked;
    for (std::uint32_t i = 0; i < 128; ++i) {
      if (letters[i] != 255) marked[static_cast<char16_t>(u'a' + i)] = letters[i];
    }
    EXPECT_EQ(marked, p.letters) << std::string(p.codes.begin(), p.codes.end());
  }
}

TEST_F(KernelExportsTest, WordListPathsNeedListsOfOneLength) {
  start();
  DynArray<WideString> paths;
  paths.push_default();
  paths.push_default();
  DynArray<std::uint32_t> ids;
  ids.push_back(5);
  ids.push_back(6);
  const auto* path_list = reinterpret_cast<const crDynArray*>(&paths);
  const auto* id_list = reinterpret_cast<const crDynArray*>(&ids);
  // Empty paths are passed over.
  EXPECT_EQ(crReloadDictPathes(path_list, id_list), kOk);
  ids.push_back(7);
  EXPECT_EQ(crReloadDictPathes(path_list, id_list), kOutOfMemory);
  EXPECT_EQ(crReloadDictPathes(nullptr, id_list), kOutOfMemory);
  ASSERT_EQ(assign_units(paths[0], u"/words/"), kOk);
  ids.pop_back();
  ids[0] = 50;  // no such charset id
  EXPECT_EQ(crReloadDictPathes(path_list, id_list), kBadArgument);
}

TEST(ServiceExportsTest, TestValuesAreKeptAndReadBack) {
  EXPECT_EQ(cr_test_GetAlpha(), 1.0);
  EXPECT_EQ(cr_test_GetExp(), 3.0);
  EXPECT_EQ(cr_test_GetN(), 3);
  EXPECT_EQ(cr_test_SetAlpha(0.5), 0);
  EXPECT_EQ(cr_test_SetExp(2.0), 0);
  EXPECT_EQ(cr_test_SetN(9), 0);
  EXPECT_EQ(cr_test_GetAlpha(), 0.5);
  EXPECT_EQ(cr_test_GetExp(), 2.0);
  EXPECT_EQ(cr_test_GetN(), 9);
  cr_test_SetAlpha(1.0);
  cr_test_SetExp(3.0);
  cr_test_SetN(3);
}

}  // namespace
}  // namespace inkrec
