#include "app/configurations/stored_configurations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "tests/app/configurations/scratch_device.h"

namespace ductra {
namespace {

using testing::Bytes;

CharsetSet all_engine_charsets() {
  std::vector<CharsetId> ids(43);
  std::iota(ids.begin(), ids.end(), 0u);
  return CharsetSet(ids.begin(), ids.end());
}

Bytes words(std::initializer_list<std::uint32_t> values) {
  Bytes bytes(values.size() * 4);
  std::size_t at = 0;
  for (const std::uint32_t value : values) {
    for (int shift = 0; shift < 32; shift += 8) bytes[at++] = std::byte((value >> shift) & 0xFF);
  }
  return bytes;
}

// One record: title, further ids (the rest of the 19 places 0), flag.
Bytes record(std::uint32_t title, std::vector<std::uint32_t> further, std::uint32_t dictionary) {
  further.resize(kStoredFurtherCharsets, 0);
  Bytes bytes = words({title});
  for (const std::uint32_t id : further) {
    const Bytes one = words({id});
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  const Bytes flag = words({dictionary});
  bytes.insert(bytes.end(), flag.begin(), flag.end());
  return bytes;
}

Bytes joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A device of its own whose registry holds the values given (an empty
// value is not stored).
class StoredValues : public testing::ScratchDevice {
 public:
  StoredValues(const Bytes& configurations, const Bytes& current) {
    if (!configurations.empty()) store(kConfigurationsValue, configurations);
    if (!current.empty()) store(kCurrentConfigurationValue, current);
  }
};

// Configurations as the controller has them before loading.
Configurations built() { return Configurations(all_engine_charsets()); }

TEST(StoredConfigurationsTest, RecordsAreTwentyOneLittleEndianWordsInTitleOrder) {
  const StoredValues device({}, {});
  Configurations configurations = built();
  configurations.make_default(0x0419);
  configurations.replace(Configuration(4, {38, 2, 1, 40}, false));
  ASSERT_TRUE(configurations.select(5));
  ASSERT_TRUE(save_configurations_to(device.registry(), configurations));
  EXPECT_EQ(device.stored(kConfigurationsValue),
            joined({record(3, {1, 2, 37}, 0), record(4, {1, 2, 38, 40}, 0), record(5, {1, 2, 38}, 1)}));
  EXPECT_EQ(device.stored(kCurrentConfigurationValue), words({5}));
}

TEST(StoredConfigurationsTest, SavingThenLoadingGivesTheSameBytes) {
  const StoredValues device({}, {});
  Configurations saved = built();
  saved.make_default(0x0409);
  ASSERT_TRUE(saved.add(Configuration(26, {}, false)));
  ASSERT_TRUE(saved.add(Configuration(6, {2, 37, 41}, true)));
  ASSERT_TRUE(saved.select(26));
  ASSERT_TRUE(save_configurations_to(device.registry(), saved));
  const Bytes first = device.stored(kConfigurationsValue);
  ASSERT_EQ(first.size(), 4 * sizeof(ConfigurationRecord));

  Configurations loaded = built();
  ASSERT_TRUE(load_configurations_from(device.registry(), &loaded));
  EXPECT_EQ(loaded.current(), 26u);
  ASSERT_EQ(loaded.configurations().size(), 4u);
  for (const auto& [title, configuration] : saved.configurations()) {
    SCOPED_TRACE(title);
    EXPECT_EQ(loaded.configurations().at(title).to_values(), configuration.to_values());
    EXPECT_EQ(loaded.configurations().at(title).use_dictionary(), configuration.use_dictionary());
  }
  ASSERT_TRUE(save_configurations_to(device.registry(), loaded));
  EXPECT_EQ(device.stored(kConfigurationsValue), first);
  EXPECT_EQ(device.stored(kCurrentConfigurationValue), words({26}));
}

TEST(StoredConfigurationsTest, AtMostNineteenFurtherCharsetsAreStoredAndNeverTheTitle) {
  const StoredValues device({}, {});
  CharsetSet many;
  for (CharsetId id = 1; id <= 25; ++id) many.insert(id);
  Configurations configurations = built();
  configurations.make_default(0x0409);
  configurations.replace(Configuration(5, many, true));
  ASSERT_TRUE(save_configurations_to(device.registry(), configurations));
  const Bytes bytes = device.stored(kConfigurationsValue);
  ASSERT_EQ(bytes.size(), 2 * sizeof(ConfigurationRecord));
  ConfigurationRecord english;
  std::memcpy(&english, bytes.data() + sizeof(ConfigurationRecord), sizeof english);
  EXPECT_EQ(english.title, 5u);
  const std::array<std::uint32_t, kStoredFurtherCharsets> first_nineteen = {1,  2,  3,  4,  6,  7,  8,  9,  10, 11,
                                                                            12, 13, 14, 15, 16, 17, 18, 19, 20};
  EXPECT_EQ(english.further, first_nineteen);
  EXPECT_EQ(english.use_dictionary, 1u);
}

TEST(StoredConfigurationsTest, NothingIsSavedWithoutACurrentConfiguration) {
  const StoredValues device({}, {});
  Configurations configurations = built();
  configurations.clear();
  EXPECT_FALSE(save_configurations_to(device.registry(), configurations));
  EXPECT_TRUE(device.stored(kConfigurationsValue).empty());
  EXPECT_TRUE(device.stored(kCurrentConfigurationValue).empty());
}

TEST(StoredConfigurationsTest, RecordsThatCannotBeConfigurationsArePassedOver) {
  const StoredValues device(joined({record(0, {1}, 1),          // title 0
                                    record(5, {1, 2, 0, 38}, 1),  // the ids end at the first 0
                                    record(77, {1}, 1),           // not an engine charset
                                    record(41, {}, 1),            // never a title
                                    record(5, {3}, 0),            // a title seen before
                                    record(4, {4, 1}, 7)}),       // its own title among the rest
                            words({77}));
  Configurations configurations = built();
  ASSERT_TRUE(load_configurations_from(device.registry(), &configurations));
  ASSERT_EQ(configurations.configurations().size(), 2u);
  EXPECT_EQ(configurations.configurations().at(5).charsets(), (CharsetSet{1, 2}));
  EXPECT_TRUE(configurations.configurations().at(5).use_dictionary());
  EXPECT_EQ(configurations.configurations().at(4).charsets(), CharsetSet{1});
  EXPECT_TRUE(configurations.configurations().at(4).use_dictionary());
  EXPECT_EQ(configurations.current(), 5u) << "the stored current names none: the first loaded";
}

TEST(StoredConfigurationsTest, ValuesThatDoNotFitOrSayNothingAreNotLoaded) {
  Bytes fifty;
  for (CharsetId title = 3; fifty.size() < kMaxStoredConfigurations * sizeof(ConfigurationRecord); ++title) {
    fifty = joined({fifty, record(title, {}, 1)});
  }
  ASSERT_EQ(fifty.size(), 4200u);
  struct Case {
    const char* what;
    Bytes configurations;  // empty: not stored
    Bytes current;         // empty: not stored
  };
  const Case cases[] = {
      {"no configurations value", {}, words({5})},
      {"no current value", record(5, {}, 1), {}},
      {"current 0", record(5, {}, 1), words({0})},
      {"current of 2 bytes", record(5, {}, 1), Bytes{std::byte{5}, std::byte{0}}},
      {"current of 8 bytes", record(5, {}, 1), words({5, 0})},
      {"less than one record", Bytes(83, std::byte{5}), words({5})},
      {"more than 50 records (4284 bytes)", joined({fifty, record(5, {}, 1)}), words({5})},
  };
  const std::size_t built_count = built().configurations().size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const StoredValues device(c.configurations, c.current);
    Configurations configurations = built();
    EXPECT_FALSE(load_configurations_from(device.registry(), &configurations));
    EXPECT_EQ(configurations.configurations().size(), built_count) << "left as built";
  }
  const StoredValues device(fifty, words({5}));
  Configurations configurations = built();
  EXPECT_TRUE(load_configurations_from(device.registry(), &configurations)) << "50 records (4200 bytes) fit";
  EXPECT_EQ(configurations.configurations().size(), 37u) << "every title the engine has, once";
  EXPECT_EQ(configurations.current(), 5u);
}

TEST(StoredConfigurationsTest, RecordsOfOnlyUnknownTitlesAreNoSuccess) {
  const StoredValues device(joined({record(77, {1}, 1), record(1, {}, 1)}), words({77}));
  Configurations configurations = built();
  EXPECT_FALSE(load_configurations_from(device.registry(), &configurations));
  EXPECT_TRUE(configurations.configurations().empty());
  configurations.make_default(0x0409);
  EXPECT_EQ(configurations.current(), 5u) << "the defaults can still be made";
}

}  // namespace
}  // namespace ductra
