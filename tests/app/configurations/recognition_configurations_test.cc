#include "app/configurations/recognition_configurations.h"

#include <gtest/gtest.h>

#include <vector>

#include "appplatform/resources/builtin_resources.h"
#include "appplatform/window_server.h"
#include "tests/app/configurations/scratch_device.h"
#include "tests/app/controller_parts_fake.h"
#include "tests/app/engine_client_support.h"

namespace ductra {
namespace {

using Active = std::vector<std::uint32_t>;
using Log = std::vector<std::string>;

// The configurations part on the scripted engine, with recording windows
// and segmenter, the program's own strings and a device registry.
class RecognitionConfigurationsTest : public testing::FakeEngineTest {
 protected:
  RecognitionConfigurationsTest() {
    const std::uint32_t charsets[] = {1, 2, 3, 4, 5, 37, 38};
    control_.script_charsets(charsets, std::size(charsets));
    control_.script_charset_code(4, u"rus");
    control_.script_charset_code(5, u"eng");
    EXPECT_EQ(engine_->init(u"/device/qlmain.dt"), 0);
    part_.build_configurations();
    part_.make_default_configurations();  // 3, 4, 5; Russian current
  }
  ~RecognitionConfigurationsTest() override { engine_->free(); }

  Active active() const { return control_.observe().active_charsets; }

  testing::ScratchDevice device_;
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  Localizer localizer_{"/no/bundles", 0x0419, platform::builtin_strings()};
  testing::FakeParts parts_;
  RecognitionConfigurations part_{*engine_, device_.registry(), localizer_, system_, parts_, parts_, 0x0419};
};

TEST_F(RecognitionConfigurationsTest, TheCurrentConfigurationsCharsetsBecomeTheEnginesAndTheSegmenters) {
  EXPECT_EQ(part_.apply_configuration(), 0);
  EXPECT_EQ(active(), (Active{1, 2, 4, 38}));
  part_.select_next();
  EXPECT_EQ(part_.apply_configuration(), 0);
  EXPECT_EQ(active(), (Active{1, 2, 5, 38}));
  EXPECT_EQ(parts_.log.entries(), (Log{"segmenter charsets 1 2 4 38", "segmenter charsets 1 2 5 38"}));
}

TEST_F(RecognitionConfigurationsTest, IdsTheEngineDoesNotKnowAreLeftOutAndNoKnownIdChangesNothing) {
  part_.configurations().replace(Configuration(4, {1, 26, 99}, true));
  EXPECT_EQ(part_.apply_configuration(), 0);
  EXPECT_EQ(active(), (Active{1, 4})) << "26 and 99 left out, Russian still recognised";

  ASSERT_TRUE(part_.configurations().add_charset(26, true));  // Hebrew: alone, and unknown to this engine
  ASSERT_TRUE(part_.select(26));
  parts_.log.clear();
  EXPECT_EQ(part_.apply_configuration(), kNoKnownCharset);
  EXPECT_EQ(active(), (Active{1, 4})) << "the engine keeps its charsets";
  EXPECT_EQ(parts_.log.entries(), Log{}) << "and so does the segmenter";

  ASSERT_TRUE(part_.select(5));
  control_.script_charset_count(4001);
  EXPECT_EQ(part_.apply_configuration(), 4001);
  EXPECT_EQ(active(), (Active{1, 4}));
}

TEST_F(RecognitionConfigurationsTest, TheIndicatorShowsTheCharsetsCodeOrQuestionMarks) {
  struct Case {
    CharsetId current;
    bool active, key_row, movable;
    Log expected;
  };
  const Case cases[] = {
      {4, true, false, false, {"keyboard enabled hidden", "tool folded", "tool label rus active"}},
      {5, true, true, false, {"keyboard enabled shown", "tool expanded", "tool label eng active"}},
      {5, true, true, true, {"keyboard disabled shown", "tool expanded", "tool label eng active"}},
      {5, false, false, false, {"keyboard disabled hidden", "tool folded", "tool label eng"}},
      {3, true, false, false, {"keyboard enabled hidden", "tool folded", "tool label  active"}},  // no code
      {26, true, false, false, {"keyboard enabled hidden", "tool folded", "tool label ?? active"}},
  };
  ASSERT_TRUE(part_.configurations().add_charset(26, true));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current);
    ASSERT_TRUE(part_.select(c.current));
    parts_.tool_movable = c.movable;
    parts_.log.clear();
    part_.refresh_indicator(c.active, c.key_row);
    EXPECT_EQ(parts_.log.entries(), c.expected);
  }
}

TEST_F(RecognitionConfigurationsTest, LoadingFallsBackWhenTheStoredValueIsTooLong) {
  std::vector<ConfigurationRecord> records(kMaxStoredConfigurations + 1);
  for (ConfigurationRecord& record : records) record.title = 5;
  const CharsetId current = 5;
  device_.store(kConfigurationsValue, std::as_bytes(std::span(records)));
  device_.store(kCurrentConfigurationValue, std::as_bytes(std::span(&current, 1)));
  part_.build_configurations();
  EXPECT_FALSE(part_.load_configurations());
  part_.make_default_configurations();
  EXPECT_EQ(part_.configurations().current(), 4u);
  EXPECT_TRUE(part_.save_configurations());
  EXPECT_TRUE(part_.load_configurations()) << "the defaults saved in its place load";
  EXPECT_EQ(part_.configurations().configurations().size(), 3u);
}

}  // namespace
}  // namespace ductra
