#include "touchshim/forwarded_driver.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>

namespace ductra::tapshim {
namespace {

using platform::PenRing;
using platform::PenRingBlock;

// A driver of four entries whose answers the test sets.
struct FakeDriver {
  static inline std::int32_t answer = 1;
  static inline std::int32_t last_query = -1;
  static inline SampleCallback enabled_with = nullptr;

  static std::int32_t get_device_caps(std::int32_t query, void* record) {
    last_query = query;
    if (answer != 0 && record != nullptr) *static_cast<CalibrationPointQuery*>(record) = {0, 240, 320, 7, 8};
    return answer;
  }
  static std::int32_t set_mode(std::int32_t mode, void*) { return mode * 10; }
  static std::int32_t enable(SampleCallback callback) {
    enabled_with = callback;
    return answer;
  }
  static void get_point(std::uint32_t* flags, std::int32_t* x, std::int32_t* y) {
    *flags = 15;
    *x = 11;
    *y = 12;
  }
};

std::int32_t some_callback(std::uint32_t, std::int32_t, std::int32_t) { return 0; }

ForwardedDriver fake_driver() {
  const std::map<std::string, void*> exported = {
      {"TouchPanelGetDeviceCaps", reinterpret_cast<void*>(&FakeDriver::get_device_caps)},
      {"TouchPanelSetMode", reinterpret_cast<void*>(&FakeDriver::set_mode)},
      {"TouchPanelEnable", reinterpret_cast<void*>(&FakeDriver::enable)},
      {"DdsiTouchPanelGetPoint", reinterpret_cast<void*>(&FakeDriver::get_point)},
  };
  ForwardedDriver driver;
  driver.set_entries(resolve_driver_entries([&](const char* name) -> void* {
    const auto found = exported.find(name);
    return found == exported.end() ? nullptr : found->second;
  }));
  return driver;
}

TEST(ForwardedDriverTest, EveryEntryIsResolvedByItsName) {
  std::set<std::string> asked;
  resolve_driver_entries([&](const char* name) -> void* {
    asked.insert(name);
    return nullptr;
  });
  EXPECT_EQ(asked, (std::set<std::string>{
                       "TouchPanelGetDeviceCaps", "TouchPanelSetMode", "TouchPanelPowerHandler", "TouchPanelEnable",
                       "TouchPanelDisable", "TouchPanelReadCalibrationPoint", "TouchPanelReadCalibrationAbort",
                       "TouchPanelCalibrateAPoint", "TouchPanelSetCalibration", "ErrorAnalysis",
                       "DdsiTouchPanelDisable", "DdsiTouchPanelEnable", "DdsiTouchPanelGetDeviceCaps",
                       "DdsiTouchPanelGetPoint", "DdsiTouchPanelPowerHandler", "DdsiTouchPanelSetMode"}));
}

TEST(ForwardedDriverTest, CallsGoToTheDriverUnchanged) {
  const ForwardedDriver driver = fake_driver();
  FakeDriver::answer = 1;
  EXPECT_EQ(driver.set_mode(3, nullptr), 30);
  EXPECT_EQ(driver.enable(&some_callback), 1);
  EXPECT_EQ(FakeDriver::enabled_with, &some_callback);
  std::uint32_t flags = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  driver.ddsi_get_point(&flags, &x, &y);
  EXPECT_EQ(flags, 15u);
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 12);
}

TEST(ForwardedDriverTest, EntriesTheDriverLacksAnswerFalseOrDoNothing) {
  ForwardedDriver driver = fake_driver();
  driver.forget_entries();
  std::int32_t values[2] = {5, 6};
  EXPECT_EQ(driver.set_mode(3, nullptr), 0);
  EXPECT_EQ(driver.enable(&some_callback), 0);
  EXPECT_EQ(driver.read_calibration_point(&values[0], &values[1]), 0);
  EXPECT_EQ(driver.set_calibration(1, values, values, values, values), 0);
  EXPECT_EQ(driver.ddsi_enable(), 0);
  EXPECT_EQ(driver.ddsi_get_device_caps(1, nullptr), 0);
  EXPECT_EQ(driver.ddsi_set_mode(1, nullptr), 0);
  driver.power_handler(1);
  driver.disable();
  driver.read_calibration_abort();
  driver.calibrate_a_point(1, 2, &values[0], &values[1]);
  driver.error_analysis(1, values, values, values, values);
  driver.ddsi_disable();
  driver.ddsi_power_handler(0);
  std::uint32_t flags = 9;
  driver.ddsi_get_point(&flags, &values[0], &values[1]);
  EXPECT_EQ(flags, 9u);
  EXPECT_EQ(values[0], 5);
}

// The display size reaches the ring only from a calibration-point query
// that succeeded with a record.
TEST(ForwardedDriverTest, TheCalibrationQueryRecordIsReadOnlyAfterSuccess) {
  struct Case {
    std::int32_t query;
    std::int32_t answer;
    bool with_record;
    bool stored;
  };
  const Case cases[] = {
      {2, 1, true, true},
      {2, 0, true, false},
      {2, 1, false, false},
      {1, 1, true, false},
  };
  for (const Case& c : cases) {
    alignas(8) std::array<std::byte, platform::kPenRingBytes> bytes{};
    const PenRing ring(bytes);
    ring.initialize();
    FakeDriver::answer = c.answer;
    CalibrationPointQuery record{};
    EXPECT_EQ(fake_driver().get_device_caps(c.query, c.with_record ? &record : nullptr, ring), c.answer);
    EXPECT_EQ(FakeDriver::last_query, c.query);
    const auto& header = reinterpret_cast<PenRingBlock*>(bytes.data())->header;
    EXPECT_EQ(header.display_width_, c.stored ? 240u : 0u) << c.query << " " << c.answer;
    EXPECT_EQ(header.display_height_, c.stored ? 320u : 0u);
  }
  FakeDriver::answer = 1;
  CalibrationPointQuery record{};
  EXPECT_EQ(fake_driver().get_device_caps(2, &record, PenRing()), 1);  // no ring: only forwarded
}

}  // namespace
}  // namespace ductra::tapshim
