// The exported entries of libtapshim.so: each forwards to the real driver
// through the process's one Shim.
#include "touchshim/tapshim.h"

#include "touchshim/shim.h"

using ductra::tapshim::Shim;

namespace {

const ductra::tapshim::ForwardedDriver& driver() { return Shim::instance().driver(); }

}  // namespace

extern "C" {

std::int32_t TouchPanelDllEntry(void*, std::uint32_t reason, void*) {
  switch (reason) {
    case ductra::tapshim::kProcessAttach:
      return Shim::instance().open_resources() ? 1 : 0;
    case ductra::tapshim::kProcessDetach:
      Shim::instance().close_resources(true);
      return 1;
    default:
      return 1;
  }
}

std::int32_t TouchPanelGetDeviceCaps(std::int32_t query, void* record) {
  return driver().get_device_caps(query, record, Shim::instance().ring());
}

std::int32_t TouchPanelSetMode(std::int32_t mode, void* argument) { return driver().set_mode(mode, argument); }

void TouchPanelPowerHandler(std::int32_t power_off) { driver().power_handler(power_off); }

std::int32_t TouchPanelEnable(ductra::tapshim::SampleCallback callback) { return Shim::instance().enable(callback); }

void TouchPanelDisable() { driver().disable(); }

std::int32_t TouchPanelReadCalibrationPoint(std::int32_t* x, std::int32_t* y) {
  return driver().read_calibration_point(x, y);
}

void TouchPanelReadCalibrationAbort() { driver().read_calibration_abort(); }

void TouchPanelCalibrateAPoint(std::int32_t x, std::int32_t y, std::int32_t* calibrated_x,
                               std::int32_t* calibrated_y) {
  driver().calibrate_a_point(x, y, calibrated_x, calibrated_y);
}

std::int32_t TouchPanelSetCalibration(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y,
                                      std::int32_t* touch_x, std::int32_t* touch_y) {
  return driver().set_calibration(count, screen_x, screen_y, touch_x, touch_y);
}

void ErrorAnalysis(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y, std::int32_t* touch_x,
                   std::int32_t* touch_y) {
  driver().error_analysis(count, screen_x, screen_y, touch_x, touch_y);
}

void DdsiTouchPanelDisable() { driver().ddsi_disable(); }

std::int32_t DdsiTouchPanelEnable() { return driver().ddsi_enable(); }

std::int32_t DdsiTouchPanelGetDeviceCaps(std::int32_t query, void* record) {
  return driver().ddsi_get_device_caps(query, record);
}

void DdsiTouchPanelGetPoint(std::uint32_t* flags, std::int32_t* x, std::int32_t* y) {
  driver().ddsi_get_point(flags, x, y);
}

void DdsiTouchPanelPowerHandler(std::int32_t power_off) { driver().ddsi_power_handler(power_off); }

std::int32_t DdsiTouchPanelSetMode(std::int32_t mode, void* argument) { return driver().ddsi_set_mode(mode, argument); }

}  // extern "C"
