#include "touchshim/forwarded_driver.h"

#include <utility>

namespace ductra::tapshim {

namespace {

// Calls `entry` when the driver has it; otherwise answers false (0) or
// does nothing.
template <typename Result, typename... Parameters, typename... Arguments>
Result forward(Result (*entry)(Parameters...), Arguments&&... arguments) {
  if (entry == nullptr) return Result();
  return entry(std::forward<Arguments>(arguments)...);
}

}  // namespace

std::int32_t ForwardedDriver::get_device_caps(std::int32_t query, void* record, const platform::PenRing& ring) const {
  const std::int32_t result = forward(entries_.get_device_caps, query, record);
  if (query == kCalibrationPointQuery && result != 0 && record != nullptr && ring.is_open()) {
    const auto* calibration = static_cast<const CalibrationPointQuery*>(record);
    ring.word(&platform::PenRingHeader::display_width_).store(static_cast<std::uint32_t>(calibration->display_width));
    ring.word(&platform::PenRingHeader::display_height_).store(static_cast<std::uint32_t>(calibration->display_height));
  }
  return result;
}

std::int32_t ForwardedDriver::set_mode(std::int32_t mode, void* argument) const {
  return forward(entries_.set_mode, mode, argument);
}

void ForwardedDriver::power_handler(std::int32_t power_off) const { forward(entries_.power_handler, power_off); }

std::int32_t ForwardedDriver::enable(SampleCallback callback) const { return forward(entries_.enable, callback); }

void ForwardedDriver::disable() const { forward(entries_.disable); }

std::int32_t ForwardedDriver::read_calibration_point(std::int32_t* x, std::int32_t* y) const {
  return forward(entries_.read_calibration_point, x, y);
}

void ForwardedDriver::read_calibration_abort() const { forward(entries_.read_calibration_abort); }

void ForwardedDriver::calibrate_a_point(std::int32_t x, std::int32_t y, std::int32_t* calibrated_x,
                                        std::int32_t* calibrated_y) const {
  forward(entries_.calibrate_a_point, x, y, calibrated_x, calibrated_y);
}

std::int32_t ForwardedDriver::set_calibration(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y,
                                              std::int32_t* touch_x, std::int32_t* touch_y) const {
  return forward(entries_.set_calibration, count, screen_x, screen_y, touch_x, touch_y);
}

void ForwardedDriver::error_analysis(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y,
                                     std::int32_t* touch_x, std::int32_t* touch_y) const {
  forward(entries_.error_analysis, count, screen_x, screen_y, touch_x, touch_y);
}

void ForwardedDriver::ddsi_disable() const { forward(entries_.ddsi_disable); }

std::int32_t ForwardedDriver::ddsi_enable() const { return forward(entries_.ddsi_enable); }

std::int32_t ForwardedDriver::ddsi_get_device_caps(std::int32_t query, void* record) const {
  return forward(entries_.ddsi_get_device_caps, query, record);
}

void ForwardedDriver::ddsi_get_point(std::uint32_t* flags, std::int32_t* x, std::int32_t* y) const {
  forward(entries_.ddsi_get_point, flags, x, y);
}

void ForwardedDriver::ddsi_power_handler(std::int32_t power_off) const {
  forward(entries_.ddsi_power_handler, power_off);
}

std::int32_t ForwardedDriver::ddsi_set_mode(std::int32_t mode, void* argument) const {
  return forward(entries_.ddsi_set_mode, mode, argument);
}

}  // namespace ductra::tapshim
