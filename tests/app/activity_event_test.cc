#include "app/shell/activity_event.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/shell/shell_messages.h"
#include "appplatform/wait.h"
#include "tests/app/shell_test_support.h"

namespace ductra {
namespace {

using testing::ShellTest;

class ActivityEventTest : public ShellTest {
 protected:
  void store(platform::ValueType type, std::u16string_view text) {
    ASSERT_EQ(registry_.create_key(platform::Hive::local_machine, kActivityEventKey), platform::Status::ok);
    std::vector<std::byte> bytes((text.size() + 1) * sizeof(char16_t));
    std::memcpy(bytes.data(), std::u16string(text).c_str(), bytes.size());
    ASSERT_EQ(registry_.write_value(platform::Hive::local_machine, kActivityEventKey, kActivityEventValue, type,
                                    bytes),
              platform::Status::ok);
  }

  platform::Registry registry_{device_};
};

TEST_F(ActivityEventTest, TheRegistryNamesTheEventOrThereIsNone) {
  EXPECT_EQ(open_activity_event(registry_, runtime_), nullptr) << "no value";
  store(platform::ValueType::binary, u"PowerManager/ActivityTimer");
  EXPECT_EQ(open_activity_event(registry_, runtime_), nullptr) << "not a string";
  store(platform::ValueType::string, std::u16string(128, u'x'));
  EXPECT_EQ(open_activity_event(registry_, runtime_), nullptr) << "129 units do not fit in 256 bytes";
  store(platform::ValueType::string, u"PowerManager/ActivityTimer");
  const std::shared_ptr<platform::SharedEvent> event = open_activity_event(registry_, runtime_);
  ASSERT_NE(event, nullptr);
  std::unique_ptr<platform::SharedEvent> same;
  EXPECT_EQ(platform::SharedEvent::open(runtime_, u"PowerManager/ActivityTimer", &same), platform::Status::ok);
}

TEST_F(ActivityEventTest, TheTickSetsItWhileInkIsWrittenOrRecognised) {
  store(platform::ValueType::string, u"PowerManager/ActivityTimer");
  parts_.activity_event = open_activity_event(registry_, runtime_);
  ASSERT_NE(parts_.activity_event, nullptr);
  std::unique_ptr<platform::SharedEvent> watched;
  ASSERT_EQ(platform::SharedEvent::open(runtime_, u"PowerManager/ActivityTimer", &watched), platform::Status::ok);
  run(u"start");
  for (const int mode : {kCaptureOn, kCaptureWriting, kCaptureStopped, kCaptureRecognising}) {
    SCOPED_TRACE(mode);
    parts_.capture_mode = mode;
    clock_.advance(kTickMs);
    const bool expected = mode == kCaptureWriting || mode == kCaptureRecognising;
    EXPECT_EQ(platform::wait_for(*watched, 0).signalled(), expected);
  }
}

}  // namespace
}  // namespace ductra
