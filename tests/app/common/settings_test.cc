#include "app/common/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/common/install_path.h"
#include "app/common/registry_key.h"
#include "appplatform/text.h"
#include "temp_device.h"

namespace ductra {
namespace {

using platform::Hive;
using platform::Status;
using platform::ValueType;

const std::u16string_view kAllNames[] = {
    u"SheetPageNumber", u"SpaceAfterResult", u"AutoSpace",         u"PenWidth",          u"TimeOut",
    u"UsePrompt",       u"PenColor",         u"Language",          u"branding",          u"large_moving_icon",
    u"icon_landscape_x_", u"icon_landscape_y_", u"icon_portrait_x_", u"icon_portrait_y_", u"recognize_mode_",
};

std::vector<std::byte> dword_bytes(std::uint32_t value) {
  std::vector<std::byte> bytes(4);
  std::memcpy(bytes.data(), &value, 4);
  return bytes;
}

class SettingsTest : public testing::TempDevice {
 protected:
  void store(std::u16string_view name, std::vector<std::byte> bytes, ValueType type = ValueType::dword) {
    ASSERT_EQ(registry().create_key(Hive::local_machine, kSettingsKey), Status::ok);
    ASSERT_EQ(registry().write_value(Hive::local_machine, kSettingsKey, name, type, bytes), Status::ok);
  }
  std::uint32_t stored(std::u16string_view name) {
    std::uint32_t value = 0xDEADBEEF;
    EXPECT_EQ(registry().read_dword(Hive::local_machine, kSettingsKey, name, &value), Status::ok) << "value missing";
    return value;
  }
};

TEST_F(SettingsTest, AnEmptyRegistryGivesTheDefaultsCreatesTheKeyAndSavesAllFifteen) {
  Settings settings;
  EXPECT_EQ(settings.time_out, 500);
  settings.load(registry());
  Settings expected;
  expected.time_out = 400;
  EXPECT_EQ(settings, expected);
  EXPECT_TRUE(registry().key_exists(Hive::local_machine, kSettingsKey));

  ASSERT_EQ(settings.save(registry()), Status::ok);
  for (std::u16string_view name : kAllNames) stored(name);
  EXPECT_EQ(stored(u"TimeOut"), 400u);
  EXPECT_EQ(stored(u"PenColor"), 0xFF0000u);
  EXPECT_EQ(stored(u"icon_portrait_y_"), 0xFFFFFFFFu);
  EXPECT_EQ(stored(u"AutoSpace"), 1u);
}

TEST_F(SettingsTest, EveryValueSurvivesASaveAndALoad) {
  Settings settings;
  settings.sheet_page_number = 3;
  settings.auto_space = 0;
  settings.time_out = 2700;
  settings.pen_width = 30;
  settings.pen_color = 0x0012AB34;
  settings.space_after_result = 0;
  settings.use_prompt = 2;
  settings.recognize_mode = 3;
  settings.large_moving_icon = 1;
  settings.language = 1049;
  settings.branding = 258;
  settings.icon_landscape_x = 17;
  settings.icon_landscape_y = -1;
  settings.icon_portrait_x = 0;
  settings.icon_portrait_y = 290;
  ASSERT_EQ(settings.save(registry()), Status::ok);

  Settings loaded;
  loaded.load(platform::Registry(root()));  // a fresh reader of the same file
  EXPECT_EQ(loaded, settings);
}

TEST_F(SettingsTest, BooleansAreSavedAsZeroOrOne) {
  Settings settings;
  settings.auto_space = 5;
  settings.large_moving_icon = -3;
  settings.space_after_result = 0;
  ASSERT_EQ(settings.save(registry()), Status::ok);
  EXPECT_EQ(stored(u"AutoSpace"), 1u);
  EXPECT_EQ(stored(u"large_moving_icon"), 1u);
  EXPECT_EQ(stored(u"SpaceAfterResult"), 0u);
}

// One stored value at a time: what the loaded field becomes.
TEST_F(SettingsTest, StoredValuesOutsideTheirRangeOrSizeKeepTheDefault) {
  struct Case {
    std::u16string_view name;
    std::vector<std::byte> bytes;
    std::int32_t Settings::*field;
    std::int32_t expected;
  };
  const std::vector<Case> cases = {
      {u"TimeOut", {std::byte{0x20}, std::byte{0x03}}, &Settings::time_out, 400},  // 2 bytes: ignored
      {u"TimeOut", dword_bytes(99), &Settings::time_out, 400},
      {u"TimeOut", dword_bytes(100), &Settings::time_out, 100},
      {u"TimeOut", dword_bytes(3000), &Settings::time_out, 3000},
      {u"TimeOut", dword_bytes(3001), &Settings::time_out, 400},
      {u"TimeOut", dword_bytes(0xFFFFFF9C), &Settings::time_out, 400},  // -100
      {u"PenWidth", dword_bytes(0), &Settings::pen_width, 2},
      {u"PenWidth", dword_bytes(1), &Settings::pen_width, 1},
      {u"PenWidth", dword_bytes(30), &Settings::pen_width, 30},
      {u"PenWidth", dword_bytes(31), &Settings::pen_width, 2},
      {u"PenWidth", dword_bytes(0x7FFFFFFF), &Settings::pen_width, 2},
      {u"PenWidth", dword_bytes(0xFFFFFFFF), &Settings::pen_width, 2},
      {u"recognize_mode_", dword_bytes(3), &Settings::recognize_mode, 3},
      {u"recognize_mode_", dword_bytes(4), &Settings::recognize_mode, 0},
      {u"recognize_mode_", dword_bytes(0xFFFFFFFF), &Settings::recognize_mode, 0},
      {u"recognize_mode_", {std::byte{2}}, &Settings::recognize_mode, 0},
      {u"UsePrompt", dword_bytes(3), &Settings::use_prompt, 3},
      {u"UsePrompt", dword_bytes(4), &Settings::use_prompt, 0},
      {u"SheetPageNumber", dword_bytes(3), &Settings::sheet_page_number, 3},
      {u"SheetPageNumber", dword_bytes(4), &Settings::sheet_page_number, 0},
      {u"SheetPageNumber", dword_bytes(0xFFFFFF38), &Settings::sheet_page_number, 0},  // -200
      {u"AutoSpace", dword_bytes(0), &Settings::auto_space, 0},
      {u"AutoSpace", dword_bytes(0x100), &Settings::auto_space, 1},
      {u"large_moving_icon", dword_bytes(7), &Settings::large_moving_icon, 1},
      {u"SpaceAfterResult", std::vector<std::byte>(8), &Settings::space_after_result, 1},
      {u"icon_portrait_x_", dword_bytes(0xFFFFFFFE), &Settings::icon_portrait_x, -2},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(registry().file());
    store(c.name, c.bytes, c.bytes.size() == 4 ? ValueType::dword : ValueType::binary);
    Settings settings;
    settings.load(registry());
    EXPECT_EQ(settings.*c.field, c.expected) << platform::to_utf8(c.name) << " of " << c.bytes.size() << " bytes";
  }
}

TEST_F(SettingsTest, TheTypeOfAFourByteValueIsNotTested) {
  store(u"PenWidth", dword_bytes(9), ValueType::binary);
  Settings settings;
  settings.load(registry());
  EXPECT_EQ(settings.pen_width, 9);
}

TEST_F(SettingsTest, RegistryHelpersCreateTheirKeysAndReadOnlyWhatFits) {
  const std::u16string key = u"SOFTWARE\\Korvale Software\\Ductra\\9.0\\Language";
  const std::byte record[6] = {std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}, std::byte{5}, std::byte{6}};
  ASSERT_EQ(write_registry_value(registry(), key, u"Configurations", record, ValueType::binary), Status::ok);

  std::byte buffer[8]{};
  std::uint32_t size = 0;
  EXPECT_TRUE(read_registry_value(registry(), Hive::local_machine, key, u"Configurations", buffer, &size));
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(buffer[5], std::byte{6});
  EXPECT_FALSE(read_registry_value(registry(), Hive::local_machine, key, u"Configurations", std::span(buffer, 4), &size));
  EXPECT_EQ(size, 6u);  // the size needed
  EXPECT_FALSE(read_registry_value(registry(), Hive::local_machine, key, u"Current", buffer, &size));

  const std::u16string other = u"SOFTWARE\\Elsewhere";
  EXPECT_FALSE(read_registry_value(registry(), Hive::current_user, other, u"x", buffer, nullptr));
  EXPECT_TRUE(registry().key_exists(Hive::current_user, other));  // made by the read

  const RegistryKey settings_key(registry(), kSettingsKey);
  ASSERT_TRUE(settings_key.is_open());
  ASSERT_EQ(settings_key.write_dword(u"AutoSpace", 9), Status::ok);
  std::uint32_t value = 0;
  EXPECT_TRUE(settings_key.read_dword(u"AutoSpace", &value));
  EXPECT_EQ(value, 9u);
  EXPECT_TRUE(settings_key.read_bool(u"AutoSpace", &value));
  EXPECT_EQ(value, 1u);
  EXPECT_FALSE(settings_key.read_dword(u"Missing", &value));
}

class InstallPathTest : public testing::TempDevice {
 protected:
  void store_install_dir(ValueType type, const std::u16string& units) {
    ASSERT_EQ(registry().create_key(Hive::local_machine, kInstallKey), Status::ok);
    ASSERT_EQ(registry().write_value(Hive::local_machine, kInstallKey, u"InstallDir", type,
                                     std::as_bytes(std::span(units.data(), units.size()))),
              Status::ok);
  }
};

TEST_F(InstallPathTest, TheRecordedFolderIsTakenWhenItIsAUsableString) {
  EXPECT_EQ(install_path(registry(), u"qlmain.dt"), u"\\Program Files\\Ductra\\qlmain.dt");
  EXPECT_FALSE(registry().key_exists(Hive::local_machine, kInstallKey));  // asking creates nothing

  const std::u16string longest(kMaxInstallDir, u'x');
  struct Case {
    ValueType type;
    std::u16string stored;  // exactly the units stored, terminator or not
    std::u16string folder;
  };
  const std::vector<Case> cases = {
      {ValueType::string, std::u16string(u"\\Storage Card\\Ductra\0", 21), u"\\Storage Card\\Ductra"},
      {ValueType::string, u"\\Storage Card\\Ductra", u"\\Storage Card\\Ductra"},  // no terminator stored
      {ValueType::expand_string, std::u16string(u"\\A\0junk", 7), u"\\A"},
      {ValueType::string, longest, longest},
      {ValueType::string, longest + u"y", u"\\Program Files\\Ductra"},
      {ValueType::string, std::u16string(u"\0", 1), u"\\Program Files\\Ductra"},
      {ValueType::string, u"", u"\\Program Files\\Ductra"},
      {ValueType::binary, u"\\Binary", u"\\Program Files\\Ductra"},
      {ValueType::dword, u"ab", u"\\Program Files\\Ductra"},
  };
  for (const Case& c : cases) {
    store_install_dir(c.type, c.stored);
    EXPECT_EQ(install_path(registry(), u"user.ulb"), c.folder + u"\\user.ulb") << platform::to_utf8(c.stored);
  }
}

}  // namespace
}  // namespace ductra
