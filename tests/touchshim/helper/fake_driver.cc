// A touch driver for the shim's tests: it has some of the driver entries
// (not TouchPanelSetCalibration, for one), answers the calibration query
// with a 240 x 320 display, and delivers a sample to the callback it was
// enabled with when the test calls FakeDriverDeliver.
#include <atomic>

#include "touchshim/touch_panel_exports.h"

using ductra::tapshim::CalibrationPointQuery;
using ductra::tapshim::kCalibrationPointQuery;
using ductra::tapshim::SampleCallback;

namespace {

std::atomic<SampleCallback> enabled_callback{nullptr};
std::atomic<int> disable_calls{0};

}  // namespace

extern "C" {

std::int32_t TouchPanelGetDeviceCaps(std::int32_t query, void* record) {
  if (query != kCalibrationPointQuery || record == nullptr) return 0;
  *static_cast<CalibrationPointQuery*>(record) = {0, 240, 320, 0, 0};
  return 1;
}

std::int32_t TouchPanelSetMode(std::int32_t mode, void*) { return mode + 100; }

std::int32_t TouchPanelEnable(SampleCallback callback) {
  enabled_callback = callback;
  return 1;
}

void TouchPanelDisable() {
  enabled_callback = nullptr;
  ++disable_calls;
}

// What the callback answered; -100 when the driver is not enabled.
TOUCH_DRIVER_EXPORT std::int32_t FakeDriverDeliver(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  const SampleCallback callback = enabled_callback.load();
  return callback == nullptr ? -100 : callback(flags, x, y);
}

TOUCH_DRIVER_EXPORT std::int32_t FakeDriverDisableCalls() { return disable_calls.load(); }

}  // extern "C"
