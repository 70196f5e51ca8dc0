#include "app/configurations/configurations.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "app/configurations/language_charsets.h"

namespace ductra {
namespace {

// Every charset of a full database: 0 to 42.
CharsetSet all_engine_charsets() {
  std::vector<CharsetId> ids(43);
  std::iota(ids.begin(), ids.end(), 0u);
  return CharsetSet(ids.begin(), ids.end());
}

std::vector<CharsetId> titles(const Configurations& configurations) {
  std::vector<CharsetId> result;
  for (const auto& [title, configuration] : configurations.configurations()) result.push_back(title);
  return result;
}

TEST(ConfigurationTest, TheTitleIsNeverAmongItsFurtherCharsets) {
  Configuration given(4, {1, 4, 38}, false);
  EXPECT_EQ(given.charsets(), (CharsetSet{1, 38}));
  EXPECT_FALSE(given.use_dictionary());
  given.add_charset(4);
  given.add_charset(2);
  given.remove_charset(38);
  EXPECT_EQ(given.to_values(), (std::vector<CharsetId>{4, 1, 2}));

  const CharsetId stored[] = {5, 38, 5, 1};
  const std::optional<Configuration> loaded = Configuration::from_values(stored);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->to_values(), (std::vector<CharsetId>{5, 1, 38}));
  EXPECT_TRUE(loaded->use_dictionary());

  const CharsetId title_zero[] = {0, 5};
  EXPECT_FALSE(Configuration::from_values(title_zero));
  EXPECT_FALSE(Configuration::from_values({}));
}

TEST(ConfigurationsTest, EveryEngineCharsetThatMayBeATitleGetsItsDefault) {
  const Configurations configurations(all_engine_charsets());
  std::vector<CharsetId> expected;
  for (CharsetId id = 3; id <= 42; ++id) {
    if (id != 37 && id != 38 && id != 41) expected.push_back(id);
  }
  EXPECT_EQ(titles(configurations), expected);
  EXPECT_EQ(configurations.current(), 4u) << "3 is digits, an auxiliary charset";
  EXPECT_TRUE(configurations.free().empty());
  EXPECT_EQ(configurations.auxiliary(), (CharsetSet{1, 2, 3, 37, 38, 40, 41}));

  struct Kind {
    CharsetId title;
    CharsetSet further;
    bool dictionary;
  };
  const Kind kinds[] = {
      {4, {1, 2, 38}, true}, {5, {1, 2, 38}, true}, {3, {1, 2, 37}, false},
      {40, {1, 2, 37}, false}, {26, {}, false},     {39, {}, false},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.title);
    const Configuration& configuration = configurations.configurations().at(kind.title);
    EXPECT_EQ(configuration.charsets(), kind.further);
    EXPECT_EQ(configuration.use_dictionary(), kind.dictionary);
  }
}

TEST(ConfigurationsTest, ASmallDatabaseNarrowsTheAuxiliaryCharsetsAndMayOfferOnlyDigits) {
  const Configurations digits_only(CharsetSet{1, 2, 3});
  EXPECT_EQ(titles(digits_only), std::vector<CharsetId>{3});
  EXPECT_EQ(digits_only.current(), 3u) << "no language: the first configuration";
  EXPECT_EQ(digits_only.auxiliary(), (CharsetSet{1, 2, 3}));

  const Configurations nothing(CharsetSet{});
  EXPECT_TRUE(nothing.configurations().empty());
  EXPECT_EQ(nothing.current(), 0u);
}

TEST(ConfigurationsTest, DefaultsFollowTheSystemLanguage) {
  struct Case {
    std::uint16_t language;
    std::vector<CharsetId> titles;
    CharsetId current;
  };
  const Case cases[] = {
      {0x0419, {3, 4, 5}, 4},   // primary language 25, Russian
      {0x0409, {3, 5}, 5},      // 9, English
      {99, {3, 5}, 5},          // no charset of its own
      {0x0401, {3, 5, 39}, 39}, // 1, Arabic
      {0x081A, {3, 5, 34}, 34}, // 26 stands for Serbian, never Croatian
      {0x0407, {3, 5, 6}, 6},   // 7, German
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    Configurations configurations(all_engine_charsets());
    configurations.make_default(c.language);
    EXPECT_EQ(titles(configurations), c.titles);
    EXPECT_EQ(configurations.current(), c.current);
    EXPECT_EQ(main_charset_of_language(c.language), c.current);
  }
}

TEST(ConfigurationsTest, DefaultsWithoutTheLanguagesCharsetOrEnglishStillHaveACurrentOne) {
  Configurations without_russian(CharsetSet{1, 2, 3, 5, 38});
  without_russian.make_default(0x0419);
  EXPECT_EQ(titles(without_russian), (std::vector<CharsetId>{3, 5}));
  EXPECT_EQ(without_russian.current(), 5u);

  Configurations digits_only(CharsetSet{3});
  digits_only.make_default(0x0419);
  EXPECT_EQ(titles(digits_only), std::vector<CharsetId>{3});
  EXPECT_EQ(digits_only.current(), 3u) << "English is missing too: the digits are current";
}

TEST(ConfigurationsTest, SelectingWalksTheTitlesInOrderAndWraps) {
  Configurations configurations(all_engine_charsets());
  configurations.make_default(0x0419);  // 3, 4, 5; 4 current
  EXPECT_EQ(configurations.select_next(), 5u);
  EXPECT_EQ(configurations.select_next(), 3u) << "from the last to the first";
  EXPECT_FALSE(configurations.select(0));
  EXPECT_FALSE(configurations.select(6)) << "an engine charset without configuration";
  EXPECT_EQ(configurations.current(), 3u);
  EXPECT_TRUE(configurations.select(5));
  EXPECT_EQ(configurations.current_charsets(), (CharsetSet{1, 2, 5, 38}));
  EXPECT_EQ(configurations.all_charsets(), (CharsetSet{1, 2, 3, 4, 5, 37, 38}));
}

TEST(ConfigurationsTest, RemovingTheCurrentConfigurationMakesTheFirstCurrent) {
  Configurations configurations(all_engine_charsets());
  configurations.make_default(0x0419);
  configurations.remove(5);
  EXPECT_EQ(configurations.current(), 4u) << "removing another keeps the current one";
  EXPECT_TRUE(configurations.free().contains(5));
  configurations.remove(4);
  EXPECT_EQ(configurations.current(), 3u);
  configurations.remove(3);
  EXPECT_EQ(configurations.current(), 0u) << "nothing left to be current";
  EXPECT_TRUE(configurations.current_charsets().empty());
  configurations.remove(3);
  EXPECT_EQ(configurations.erase(3), 0u);
}

TEST(ConfigurationsTest, OnlyFreeTitlesCanBeAdded) {
  Configurations configurations(all_engine_charsets());
  configurations.make_default(0x0409);  // 3, 5
  EXPECT_FALSE(configurations.add_free_charset(5)) << "5 has a configuration";
  EXPECT_EQ(configurations.configurations().at(5).charsets(), (CharsetSet{1, 2, 38}));
  EXPECT_FALSE(configurations.add(Configuration(5, {3}, false)));
  EXPECT_FALSE(configurations.add(Configuration(1))) << "1 is never a title";
  EXPECT_FALSE(configurations.add(Configuration(77))) << "not an engine charset";
  EXPECT_FALSE(configurations.add_charset(0, true));
  EXPECT_TRUE(configurations.add_free_charset(7));
  EXPECT_FALSE(configurations.free().contains(7));
  EXPECT_TRUE(configurations.add_charset(1, true)) << "forced takes any title but 0";

  configurations.replace(Configuration(7, {2}, false));
  EXPECT_EQ(configurations.configurations().at(7).charsets(), CharsetSet{2});

  configurations.clear();
  EXPECT_EQ(configurations.current(), 0u);
  EXPECT_TRUE(configurations.add(Configuration(7, {5}, true)));
  EXPECT_EQ(configurations.current(), 7u) << "the first one added becomes current";
  EXPECT_TRUE(configurations.add(Configuration(1)));
  EXPECT_EQ(configurations.current(), 7u);
}

}  // namespace
}  // namespace ductra
