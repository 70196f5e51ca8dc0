// The entry points a touch-panel driver library exports, by these names
// and with these signatures (the types of touch_driver.h). The touch shim
// exports all of them and forwards each to the real driver; a driver
// exports those it has. Truth values are 0 (false) or not.
#pragma once

#include <cstdint>

#include "touchshim/touch_driver.h"

// Marks an entry that a driver library exports.
#define TOUCH_DRIVER_EXPORT __attribute__((visibility("default")))

extern "C" {

TOUCH_DRIVER_EXPORT std::int32_t TouchPanelGetDeviceCaps(std::int32_t query, void* record);
TOUCH_DRIVER_EXPORT std::int32_t TouchPanelSetMode(std::int32_t mode, void* argument);
TOUCH_DRIVER_EXPORT void TouchPanelPowerHandler(std::int32_t power_off);
TOUCH_DRIVER_EXPORT std::int32_t TouchPanelEnable(ductra::tapshim::SampleCallback callback);
TOUCH_DRIVER_EXPORT void TouchPanelDisable();
TOUCH_DRIVER_EXPORT std::int32_t TouchPanelReadCalibrationPoint(std::int32_t* x, std::int32_t* y);
TOUCH_DRIVER_EXPORT void TouchPanelReadCalibrationAbort();
TOUCH_DRIVER_EXPORT void TouchPanelCalibrateAPoint(std::int32_t x, std::int32_t y, std::int32_t* calibrated_x,
                               std::int32_t* calibrated_y);
TOUCH_DRIVER_EXPORT std::int32_t TouchPanelSetCalibration(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y,
                                      std::int32_t* touch_x, std::int32_t* touch_y);
TOUCH_DRIVER_EXPORT void ErrorAnalysis(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y, std::int32_t* touch_x,
                   std::int32_t* touch_y);
TOUCH_DRIVER_EXPORT void DdsiTouchPanelDisable();
TOUCH_DRIVER_EXPORT std::int32_t DdsiTouchPanelEnable();
TOUCH_DRIVER_EXPORT std::int32_t DdsiTouchPanelGetDeviceCaps(std::int32_t query, void* record);
TOUCH_DRIVER_EXPORT void DdsiTouchPanelGetPoint(std::uint32_t* flags, std::int32_t* x, std::int32_t* y);
TOUCH_DRIVER_EXPORT void DdsiTouchPanelPowerHandler(std::int32_t power_off);
TOUCH_DRIVER_EXPORT std::int32_t DdsiTouchPanelSetMode(std::int32_t mode, void* argument);

}  // extern "C"
