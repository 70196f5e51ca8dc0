#include "appplatform/registry.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "appplatform/registry_tree.h"
#include "appplatform/text.h"
#include "tests/appplatform/device_fixture.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;
using testing::Helper;

constexpr std::u16string_view kSettings = u"SOFTWARE\\Korvale Software\\Ductra\\9.0";

std::vector<std::byte> bytes_of(std::initializer_list<unsigned> values) {
  std::vector<std::byte> out;
  for (const unsigned v : values) out.push_back(static_cast<std::byte>(v));
  return out;
}

std::string file_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RegistryTest : public DeviceFixture {
 protected:
  Registry registry{root()};

  // The value as a reader gets it, with a generous buffer.
  std::vector<std::byte> read(std::u16string_view key, std::u16string_view name, ValueType* type = nullptr) {
    std::vector<std::byte> buffer(512);
    std::uint32_t size = 0;
    EXPECT_EQ(registry.read_value(Hive::local_machine, key, name, type, buffer, &size), Status::ok);
    buffer.resize(size);
    return buffer;
  }
};

TEST_F(RegistryTest, KeysAreMadeWithTheirParentsAndFoundWithoutCase) {
  EXPECT_FALSE(registry.key_exists(Hive::local_machine, kSettings));
  ASSERT_EQ(registry.create_key(Hive::local_machine, kSettings), Status::ok);
  EXPECT_TRUE(registry.key_exists(Hive::local_machine, u"software\\KORVALE SOFTWARE"));
  EXPECT_TRUE(registry.key_exists(Hive::local_machine, u"\\SOFTWARE\\Korvale Software\\ductra\\9.0\\"));
  EXPECT_FALSE(registry.key_exists(Hive::current_user, kSettings));
  EXPECT_EQ(registry.write_dword(Hive::local_machine, u"SOFTWARE\\Missing", u"x", 1), Status::not_found);
  EXPECT_EQ(registry.create_key(Hive::local_machine, u"a\\\\b"), Status::invalid_argument);
  EXPECT_EQ(registry.create_key(Hive::local_machine, std::u16string(256, u'k')), Status::invalid_argument);
}

TEST_F(RegistryTest, ReadsFollowTheSizeRules) {
  ASSERT_EQ(registry.create_key(Hive::local_machine, kSettings), Status::ok);
  ASSERT_EQ(registry.write_dword(Hive::local_machine, kSettings, u"TimeOut", 400), Status::ok);
  ASSERT_EQ(registry.write_value(Hive::local_machine, kSettings, u"Short", ValueType::dword, bytes_of({1, 2})),
            Status::ok);
  std::uint32_t value = 0;
  EXPECT_EQ(registry.read_dword(Hive::local_machine, kSettings, u"timeout", &value), Status::ok);
  EXPECT_EQ(value, 400u);
  EXPECT_EQ(registry.read_dword(Hive::local_machine, kSettings, u"Short", &value), Status::invalid_argument);
  EXPECT_EQ(registry.read_dword(Hive::local_machine, kSettings, u"Missing", &value), Status::not_found);

  std::uint32_t size = 0;
  ValueType type = ValueType::none;
  EXPECT_EQ(registry.read_value(Hive::local_machine, kSettings, u"TimeOut", &type, {}, &size), Status::ok);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(type, ValueType::dword);
  std::byte small[3];
  EXPECT_EQ(registry.read_value(Hive::local_machine, kSettings, u"TimeOut", nullptr, small, &size),
            Status::more_data);
  EXPECT_EQ(size, 4u);
}

TEST_F(RegistryTest, StringsAlwaysComeBackTerminated) {
  ASSERT_EQ(registry.create_key(Hive::current_user, u"ControlPanel\\Sip"), Status::ok);
  const struct {
    ValueType type;
    std::vector<std::byte> stored;
    std::vector<std::byte> read;
  } cases[] = {
      {ValueType::string, bytes_of({'a', 0, 'b', 0}), bytes_of({'a', 0, 'b', 0, 0, 0})},
      {ValueType::string, bytes_of({'a', 0, 0, 0}), bytes_of({'a', 0, 0, 0})},
      {ValueType::string, bytes_of({'a', 0, 'b'}), bytes_of({'a', 0, 'b', 0, 0, 0})},
      {ValueType::string, {}, bytes_of({0, 0})},
      {ValueType::expand_string, bytes_of({'x', 0}), bytes_of({'x', 0, 0, 0})},
      {ValueType::multi_string, bytes_of({'a', 0, 0, 0}), bytes_of({'a', 0, 0, 0, 0, 0})},
      {ValueType::multi_string, bytes_of({'a', 0}), bytes_of({'a', 0, 0, 0, 0, 0})},
      {ValueType::binary, bytes_of({'a', 0, 'b'}), bytes_of({'a', 0, 'b'})},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(registry.write_value(Hive::current_user, u"ControlPanel\\Sip", u"DefaultIm", c.type, c.stored),
              Status::ok);
    std::vector<std::byte> buffer(64, std::byte{0xEE});
    std::uint32_t size = 0;
    ASSERT_EQ(registry.read_value(Hive::current_user, u"ControlPanel\\Sip", u"DefaultIm", nullptr, buffer, &size),
              Status::ok);
    buffer.resize(size);
    EXPECT_EQ(buffer, c.read);
  }
  // A buffer that holds the stored units but not the terminator is too small.
  ASSERT_EQ(registry.write_value(Hive::current_user, u"ControlPanel\\Sip", u"DefaultIm", ValueType::string,
                                 bytes_of({'a', 0, 'b', 0})),
            Status::ok);
  std::byte exact[4];
  std::uint32_t size = 0;
  EXPECT_EQ(registry.read_value(Hive::current_user, u"ControlPanel\\Sip", u"DefaultIm", nullptr, exact, &size),
            Status::more_data);
  EXPECT_EQ(size, 6u);
}

TEST_F(RegistryTest, SurvivesAReloadByteForByte) {
  const std::u16string odd_name = std::u16string(u"na\"me %\n\u0416 ") + char16_t{0xD800} + u"\U0001F600";
  std::vector<std::byte> every_byte;
  for (unsigned b = 0; b < 256; ++b) every_byte.push_back(static_cast<std::byte>(b));
  ASSERT_EQ(registry.create_key(Hive::local_machine, u"SOFTWARE\\Korvale Software\\Ductra\\9.0\\Language"),
            Status::ok);
  ASSERT_EQ(registry.write_value(Hive::local_machine, kSettings, odd_name, ValueType::binary, every_byte),
            Status::ok);
  ASSERT_EQ(registry.write_value(Hive::local_machine, kSettings, u"", static_cast<ValueType>(99), bytes_of({1})),
            Status::ok);
  const std::string before = file_text(registry.file());

  const Registry reloaded(root());
  ValueType type = ValueType::none;
  std::vector<std::byte> buffer(512);
  std::uint32_t size = 0;
  ASSERT_EQ(reloaded.read_value(Hive::local_machine, kSettings, odd_name, &type, buffer, &size), Status::ok);
  buffer.resize(size);
  EXPECT_EQ(buffer, every_byte);
  EXPECT_EQ(type, ValueType::binary);
  EXPECT_EQ(read(kSettings, u""), bytes_of({1}));

  RegistryTree tree;
  ASSERT_TRUE(tree.parse(before));
  EXPECT_EQ(tree.format(), before);
  // A change elsewhere leaves the other lines as they were.
  ASSERT_EQ(reloaded.write_dword(Hive::local_machine, kSettings, u"TimeOut", 400), Status::ok);
  const std::string after = file_text(registry.file());
  std::istringstream lines(before);
  for (std::string line; std::getline(lines, line);) EXPECT_NE(after.find(line + '\n'), std::string::npos) << line;
}

TEST_F(RegistryTest, ACorruptFileIsNeverOverwritten) {
  const std::string damaged = "ductra registry 1\nkey HKLM \"SOFTWARE\"\nvalue 4 \"x\" hex:123\n";
  std::ofstream(registry.file(), std::ios::binary) << damaged;
  std::uint32_t value = 0;
  EXPECT_EQ(registry.read_dword(Hive::local_machine, u"SOFTWARE", u"x", &value), Status::corrupt);
  EXPECT_EQ(registry.create_key(Hive::local_machine, u"SOFTWARE\\Other"), Status::corrupt);
  EXPECT_EQ(registry.write_dword(Hive::local_machine, u"SOFTWARE", u"y", 1), Status::corrupt);
  EXPECT_EQ(file_text(registry.file()), damaged);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kEach = 40;
  Helper first({"write-registry", root().host().string(), "first", std::to_string(kEach)});
  Helper second({"write-registry", root().host().string(), "second", std::to_string(kEach)});
  EXPECT_EQ(first.wait_exit(std::chrono::seconds(20)), 0);
  EXPECT_EQ(second.wait_exit(std::chrono::seconds(20)), 0);
  for (const std::string_view prefix : {"first", "second"}) {
    for (int i = 0; i < kEach; ++i) {
      std::uint32_t value = 99;
      const std::u16string name = to_utf16(std::string(prefix) + std::to_string(i));
      ASSERT_EQ(registry.read_dword(Hive::local_machine, u"SOFTWARE\\Korvale Software\\Race", name, &value),
                Status::ok)
          << prefix << i;
      EXPECT_EQ(value, static_cast<std::uint32_t>(i));
    }
  }
}

}  // namespace
}  // namespace ductra::platform
