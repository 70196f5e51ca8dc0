// The user-dictionary exports and crmSetVariantsAndWrite, driven as the
// application drives them: start the engine, edit, save, start again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/user_dictionary_status.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/status.h"
#include "engine/kernel/c_array.h"
#include "engine/kernel/crman.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

std::string text_of(const std::string& path) {
  const std::vector<unsigned char> bytes = testing::read_bytes(path);
  return {bytes.begin(), bytes.end()};
}

class UserDictionaryExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    DataStore store(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    testing::add_dictionary_charsets(store);
    for (std::uint16_t id = 1; id <= 2; ++id) {
      Variant variant;
      variant.id = id;
      variant.etalon_id = kNoEtalon;
      variant.special_recognition = kSpecialRecognition;
      store.knowledge_base().variants().push_back(variant);
      ComplexVariant complex{};
      complex.set = 5;
      store.add_complex_variant(complex);
    }
    ASSERT_EQ(store.knowledge_base().reindex(false), kOk);
    ASSERT_EQ(store.save(), kOk);
    // One empty dictionary, for charset 5.
    testing::write_bytes(dir_.file("user.ulb"), {1, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  }
  void TearDown() override { crFreeCrMan(); }

  int start() {
    const std::u16string data = dir_.wide_file("qlmain.dt");
    return crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr);
  }

  std::u16string word(std::uint32_t dictionary, std::uint32_t i) {
    std::uint32_t length = 0;
    EXPECT_EQ(crGetLengthOfWordInUserDictionary(dictionary, i, &length), kOk);
    std::u16string text(length + 1, u'x');
    EXPECT_EQ(crGetTextOfWordInUserDictionary(dictionary, i, text.data()), kOk);
    EXPECT_EQ(text.back(), u'\0');
    text.pop_back();
    return text;
  }

  testing::TempDir dir_;
};

TEST_F(UserDictionaryExportsTest, WithoutAnActiveKernel) {
  std::uint32_t value = 0;
  EXPECT_EQ(crGetCountOfUserDictionaries(&value), kNoKernel);
  EXPECT_EQ(crGetIdOfCharSetOfUserDictionary(0, &value), kNoKernel);
  EXPECT_EQ(crAddWordToUserDictionary(5, u"cat", 1), kNoKernel);
  EXPECT_EQ(crSaveUserDictionariesToFile(), kNoKernel);
  DynArray<Variant> variants;
  DynArray<ComplexVariant> complex;
  EXPECT_EQ(crmSetVariantsAndWrite(reinterpret_cast<const crDynArray*>(&variants),
                                   reinterpret_cast<const crDynArray*>(&complex)),
            kOutOfMemory);
}

TEST_F(UserDictionaryExportsTest, WordsAreEditedSavedAndFoundAgainAfterARestart) {
  ASSERT_EQ(start(), kOk);
  std::uint32_t count = 0;
  ASSERT_EQ(crGetCountOfUserDictionaries(&count), kOk);
  EXPECT_EQ(count, 1u);
  std::uint32_t id = 77;
  EXPECT_EQ(crGetIdOfCharSetOfUserDictionary(1, &id), kUdBadDictionaryIndex);
  EXPECT_EQ(id, 77u);
  ASSERT_EQ(crGetIdOfCharSetOfUserDictionary(0, &id), kOk);
  EXPECT_EQ(id, 5u);

  EXPECT_EQ(crAddWordToUserDictionary(6, u"der", 1), kBadArgument);  // no dictionary for 6
  ASSERT_EQ(crGetCountOfUserDictionaries(&count), kOk);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(crAddWordToUserDictionary(5, nullptr, 1), kBadArgument);
  ASSERT_EQ(crAddWordToUserDictionary(5, u"zebu", 10), kOk);
  ASSERT_EQ(crAddWordToUserDictionary(5, u"gnu", 20), kOk);
  ASSERT_EQ(crAddWordToUserDictionary(5, u"yak-ox", 30), kOk);
  EXPECT_EQ(crAddWordToUserDictionary(5, u"gnu", 5), kUdWordExists);
  EXPECT_EQ(crAddWordToUserDictionary(5, u"ё", 5), kUdCharOutsideAlphabet);

  ASSERT_EQ(crGetCountOfWordsInUserDictionary(0, &count), kOk);
  ASSERT_EQ(count, 3u);
  std::uint32_t length = 0;
  EXPECT_EQ(crGetLengthOfWordInUserDictionary(0, 3, &length), kUdBadWordIndex);
  EXPECT_EQ(word(0, 0), u"gnu");
  EXPECT_EQ(crSetTextOfWordInUserDictionary(0, 0, u"zebu"), kUdWordExists);
  EXPECT_EQ(crSetTextOfWordInUserDictionary(0, 0, u"ё"), kUdTextOutsideAlphabet);
  ASSERT_EQ(crSetTextOfWordInUserDictionary(0, 0, u"auk"), kOk);
  ASSERT_EQ(crSetProbabilityOfWordInUserDictionary(0, 0, 25), kOk);
  EXPECT_EQ(crSetProbabilityOfWordInUserDictionary(0, 0, 0), kUdBadProbability);
  std::uint32_t probability = 0;
  ASSERT_EQ(crGetProbabilityOfWordInUserDictionary(0, 0, &probability), kOk);
  EXPECT_EQ(probability, 25u);

  std::uint32_t position = 0;
  std::uint8_t found = 9;
  ASSERT_EQ(crSearchWordInUserDictionary(5, u"yak-ox", &position, &found), kOk);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(position, 1u);
  ASSERT_EQ(crSearchWordInUserDictionary(5, u"b", &position, &found), kOk);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(position, 1u);
  EXPECT_EQ(crSearchWordInUserDictionary(6, u"b", &position, &found), kBadArgument);
  std::uint8_t usable = 9;
  ASSERT_EQ(crCheckTextOfWordForUserDictionary(0, u"ox-yak", &usable), kOk);
  EXPECT_EQ(usable, 1);
  ASSERT_EQ(crCheckTextOfWordForUserDictionary(0, u"öx", &usable), kOk);
  EXPECT_EQ(usable, 0);

  ASSERT_EQ(crRemoveWordFromUserDictionary(5, 2), kOk);  // "zebu"
  EXPECT_EQ(crRemoveWordFromUserDictionary(5, 2), kUdBadWordIndex);
  ASSERT_EQ(crSaveUserDictionariesToFile(), kOk);

  ASSERT_EQ(crAddWordToUserDictionary(5, u"emu", 1), kOk);  // not saved
  ASSERT_EQ(crmReloadUserDictionaryFile(), kOk);
  ASSERT_EQ(crGetCountOfWordsInUserDictionary(0, &count), kOk);
  EXPECT_EQ(count, 2u);

  crFreeCrMan();
  ASSERT_EQ(start(), kOk);
  ASSERT_EQ(crGetCountOfWordsInUserDictionary(0, &count), kOk);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(word(0, 0), u"auk");
  EXPECT_EQ(word(0, 1), u"yak-ox");
}

TEST_F(UserDictionaryExportsTest, VariantChoicesAreWrittenToUserTxtAndReadAtStartUp) {
  ASSERT_EQ(start(), kOk);
  DataStore& store = *crman_if_exists()->data_store();
  DynArray<Variant> variants;
  Variant rare = *store.find_variant(2);
  rare.idUse = 1;
  variants.push_back(rare);
  Variant missing = rare;
  missing.id = 40;  // refused by the database, and left out
  variants.push_back(missing);
  DynArray<ComplexVariant> complex;
  ComplexVariant never = *store.find_complex_variant(1);
  never.use = 2;
  complex.push_back(never);

  const auto* variant_array = reinterpret_cast<const crDynArray*>(&variants);
  const auto* complex_array = reinterpret_cast<const crDynArray*>(&complex);
  EXPECT_EQ(crmSetVariantsAndWrite(variant_array, nullptr), kBadArgument);
  ASSERT_EQ(crmSetVariantsAndWrite(variant_array, complex_array), kOk);
  EXPECT_EQ(text_of(dir_.file("user.txt")), "0 2 1\n1 1 2\n");

  // The data file keeps its defaults; the choices come back from "user.txt".
  crFreeCrMan();
  ASSERT_EQ(start(), kOk);
  const DataStore& restarted = *crman_if_exists()->data_store();
  EXPECT_EQ(restarted.find_variant(1)->idUse, 0u);
  EXPECT_EQ(restarted.find_variant(2)->idUse, 1u);
  EXPECT_EQ(restarted.find_complex_variant(1)->use, 2u);
  EXPECT_EQ(restarted.find_complex_variant(2)->use, 0u);
}

}  // namespace
}  // namespace inkrec
