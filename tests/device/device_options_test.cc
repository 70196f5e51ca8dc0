#include "device/device_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace ductra::device {
namespace {

TEST(DeviceOptionsTest, EachCommandLineGivesItsOptionsOrItsFault) {
  struct Case {
    std::vector<const char*> words;
    bool valid;
    bool headless;
    const char* replay;
    bool help;
  };
  const Case cases[] = {
      {{}, true, false, nullptr, false},
      {{"--headless"}, true, true, nullptr, false},
      {{"--replay", "ink.txt"}, true, false, "ink.txt", false},
      {{"--replay", "ink.txt", "--headless"}, true, true, "ink.txt", false},
      {{"--help"}, true, false, nullptr, true},
      {{"--replay"}, false, false, nullptr, false},
      {{"--window"}, false, false, nullptr, false},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv{"ductra-device"};
    argv.insert(argv.end(), c.words.begin(), c.words.end());
    std::string error;
    const std::optional<DeviceOptions> options =
        parse_device_options(static_cast<int>(argv.size()), argv.data(), &error);
    ASSERT_EQ(options.has_value(), c.valid) << argv.size();
    if (!options) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(options->headless, c.headless);
    EXPECT_EQ(options->replay.has_value(), c.replay != nullptr);
    if (c.replay) {
      EXPECT_EQ(*options->replay, c.replay);
    }
    EXPECT_EQ(options->help, c.help);
  }
}

}  // namespace
}  // namespace ductra::device
