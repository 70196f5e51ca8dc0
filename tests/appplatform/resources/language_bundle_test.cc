#include "appplatform/resources/language_bundle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "appplatform/resources/builtin_resources.h"

namespace ductra::platform {
namespace {

namespace fs = std::filesystem;

// A folder of its own for one test, removed afterwards.
class BundleFolder : public ::testing::Test {
 protected:
  BundleFolder() {
    dir_ = fs::temp_directory_path() /
           ("ductra_bundles_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~BundleFolder() override { fs::remove_all(dir_); }

  void write(std::uint16_t language, const std::string& text) {
    std::ofstream(dir_ / bundle_file_name(language), std::ios::binary) << text;
  }

  fs::path dir_;
};

TEST_F(BundleFolder, LanguagesAreFoundByIdWithEnglishAsTheFallback) {
  write(0x0419, "200 Russian\n201 Русский\n");
  write(0x0409, "200 English\n201 English\n");
  write(0x0407, "200 German\nbroken line\n");

  const FoundBundle russian = find_language_bundle(dir_, 1049);
  ASSERT_NE(russian.bundle, nullptr);
  EXPECT_EQ(russian.language, 1049);
  EXPECT_EQ(*russian.bundle->strings().find(201), u"Русский");

  // No bundle for 1031 that loads (a broken one is as good as none): English.
  const FoundBundle german = find_language_bundle(dir_, 1031);
  ASSERT_NE(german.bundle, nullptr);
  EXPECT_EQ(german.language, 1033);
  EXPECT_EQ(*german.bundle->strings().find(200), u"English");
  EXPECT_EQ(find_language_bundle(dir_, 1036).language, 1033);

  fs::remove(dir_ / bundle_file_name(0x0409));
  const FoundBundle none = find_language_bundle(dir_, 1031);
  EXPECT_EQ(none.bundle, nullptr);
  EXPECT_EQ(none.language, 0);
  // Then the program's own strings answer.
  EXPECT_EQ(*builtin_strings().find(13), u"Ошибка: Не удалось создать DC.");
}

TEST(LanguageBundleTest, MalformedBundlesAreRefusedWithTheirLine) {
  struct Case {
    std::string text;
    int line;
  };
  const Case cases[] = {
      {"1 ok\nx text\n", 2},
      {"65536 too big\n", 1},
      {"-1 negative\n", 1},
      {"5 one\n5 twice\n", 2},
      {"5 bad \\q escape\n", 1},
      {"5 ends in \\\n", 1},
      {"5 \xC3\n", 1},
      {"5 \xC0\xAF overlong\n", 1},
      {"5 \xED\xA0\x80 surrogate\n", 1},
      {" 5 leading space\n", 1},
  };
  for (const Case& c : cases) {
    BundleError error;
    EXPECT_EQ(LanguageBundle::parse(c.text, 1033, &error), nullptr) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_FALSE(error.message.empty());
  }
}

TEST(LanguageBundleTest, CommentsEscapesAndLineEndsAreRead) {
  const auto bundle = LanguageBundle::parse(
      "\xEF\xBB\xBF# comment\r\n\r\n257 a\\nb\\tc\\\\d\r\n7\n8 \n9 \xF0\x9D\x84\x9E\n", 1049);
  ASSERT_NE(bundle, nullptr);
  EXPECT_EQ(bundle->language(), 1049);
  EXPECT_EQ(*bundle->strings().find(257), u"a\nb\tc\\d");
  EXPECT_EQ(bundle->strings().find(7), nullptr);  // empty strings count as missing
  EXPECT_EQ(bundle->strings().find(8), nullptr);
  EXPECT_EQ(*bundle->strings().find(9), u"\U0001D11E");
  EXPECT_EQ(bundle->strings().size(), 4u);
}

TEST(LanguageBundleTest, FileNamesCarryTheLanguage) {
  EXPECT_EQ(bundle_file_name(1033), "ductra_loc.0409.lang");
  EXPECT_EQ(bundle_file_name(1049), "ductra_loc.0419.lang");
  struct Case {
    const char* name;
    std::uint16_t language;
  };
  const Case cases[] = {{"ductra_loc.0419.lang", 0x419}, {"ductra_loc.0C0A.dll", 0xC0A},
                        {"ductra_loc.lang", 0},          {"ductra_loc.zz.lang", 0},
                        {"ductra_loc.12345.lang", 0},    {"a.b.0409.lang", 0x409}};
  for (const Case& c : cases) EXPECT_EQ(bundle_language_of(c.name), c.language) << c.name;
  EXPECT_EQ(LanguageBundle::load("/nonexistent/ductra_loc.0409.lang"), nullptr);
}

TEST(StringTableTest, LoadCutsToTheBufferAndTerminates) {
  const StringTable table({{1, u"Готово"}, {2, u""}});
  char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(table.load(1, buffer), 3);
  EXPECT_EQ(std::u16string(buffer), u"Гот");
  EXPECT_EQ(table.load(2, buffer), 0);
  EXPECT_EQ(buffer[0], 0);
  buffer[0] = u'x';
  EXPECT_EQ(table.load(70000, buffer), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(table.load(1, std::span<char16_t>(buffer, 1)), 0);
  EXPECT_EQ(table.load(1, std::span<char16_t>()), 0);
}

}  // namespace
}  // namespace ductra::platform
