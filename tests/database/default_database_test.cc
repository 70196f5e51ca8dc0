// The default database the repository ships (data/qlmain.dt): it loads, the
// knowledge base's self-test finds no fault, and its text listing is the
// same after a save and a reload; its letters carry both case forms and may
// be joined to their neighbours.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/database/data_store.h"
#include "engine/database/property_flags.h"
#include "engine/foundation/status.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

const std::string kDefaultDatabase = std::string(INKREC_TEST_DATA_DIR) + "/../../data/qlmain.dt";

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DefaultDatabaseTest, SelfTestFindsNoFaultAndTheListingSurvivesASave) {
  testing::TempDir dir;
  const std::string copy = dir.file("qlmain.dt");
  std::filesystem::copy_file(kDefaultDatabase, copy);
  DataStore store(copy.c_str(), 1, 0, 0);
  ASSERT_EQ(store.status(), kOk);
  EXPECT_GE(store.charset_count(), 4u);
  EXPECT_GE(store.variant_count(), 94u);
  EXPECT_EQ(store.self_test(dir.file("report.txt").c_str()), 1) << file_text(dir.file("report.txt"));

  ASSERT_EQ(store.save_text(dir.file("before.txt").c_str()), kOk);
  ASSERT_EQ(store.save(), kOk);
  EXPECT_EQ(file_text(copy), file_text(kDefaultDatabase));
  ASSERT_EQ(store.reload(), kOk);
  ASSERT_EQ(store.save_text(dir.file("after.txt").c_str()), kOk);
  const std::string listing = file_text(dir.file("before.txt"));
  EXPECT_GT(listing.size(), 1000u);
  EXPECT_EQ(listing, file_text(dir.file("after.txt")));
}

// The letter-case choice picks between a reading's upper-case form (the
// symbol's second code) and its lower-case form (the third); a letter
// without them keeps whichever form its variant has, whatever its height.
TEST(DefaultDatabaseTest, EveryLetterCarriesItsUpperAndLowerCaseForms) {
  const DataStore store(kDefaultDatabase.c_str(), 1, 0, 0);
  ASSERT_EQ(store.status(), kOk);
  for (char16_t lower = u'a'; lower <= u'z'; ++lower) {
    const char16_t upper = static_cast<char16_t>(lower - u'a' + u'A');
    for (const char16_t letter : {lower, upper}) {
      const Symb* symbol = store.find_symb(letter);
      ASSERT_NE(symbol, nullptr) << static_cast<char>(letter);
      EXPECT_EQ(symbol->second_code, upper) << static_cast<char>(letter);
      EXPECT_EQ(symbol->third_code, lower) << static_cast<char>(letter);
    }
  }
  for (const char16_t other : {u'7', u'(', u','}) {
    const Symb* symbol = store.find_symb(other);
    ASSERT_NE(symbol, nullptr) << static_cast<char>(other);
    EXPECT_EQ(symbol->second_code, 0) << static_cast<char>(other);
    EXPECT_EQ(symbol->third_code, 0) << static_cast<char>(other);
  }
}

// The geometry pre-check rules an English letter out of a group whose
// figure has a link after it unless the variant has property bit 4, and of
// one with a link before it unless it has bit 5: in joined writing any
// letter may be joined on either side, so every English letter has both.
TEST(DefaultDatabaseTest, EveryEnglishLetterMayBeJoinedOnEitherSide) {
  const DataStore store(kDefaultDatabase.c_str(), 1, 0, 0);
  ASSERT_EQ(store.status(), kOk);
  std::uint32_t letters = 0;
  for (std::uint32_t i = 0; i < store.variant_count(); ++i) {
    const Variant* variant = store.variant_at(i);
    ASSERT_NE(variant, nullptr);
    const char16_t code = variant->menuc;
    const bool letter = (code >= u'a' && code <= u'z') || (code >= u'A' && code <= u'Z');
    if (variant->idSet != 5 || !letter) continue;
    ++letters;
    const PropertyFlags properties(variant->properties);
    EXPECT_NE(properties.bit4(), 0) << static_cast<char>(code) << " variant " << variant->id;
    EXPECT_NE(properties.bit5(), 0) << static_cast<char>(code) << " variant " << variant->id;
  }
  EXPECT_GE(letters, 52u);
}

}  // namespace
}  // namespace inkrec
