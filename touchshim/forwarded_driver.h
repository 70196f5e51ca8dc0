// The real touch driver as the shim forwards to it: each call goes to the
// driver's entry of the same name with its arguments unchanged. When the
// driver lacks the entry, a call that answers a truth value answers false
// and the others do nothing.
#pragma once

#include <cstdint>

#include "appplatform/pen_ring.h"
#include "touchshim/touch_driver.h"

namespace ductra::tapshim {

class ForwardedDriver {
 public:
  void set_entries(const DriverEntries& entries) { entries_ = entries; }
  void forget_entries() { entries_ = DriverEntries{}; }

  // Forwards the query; after a successful calibration-point query with a
  // record, copies the record's display width and height into `ring` (when
  // it is open).
  std::int32_t get_device_caps(std::int32_t query, void* record, const platform::PenRing& ring) const;
  std::int32_t set_mode(std::int32_t mode, void* argument) const;
  void power_handler(std::int32_t power_off) const;
  std::int32_t enable(SampleCallback callback) const;
  void disable() const;
  std::int32_t read_calibration_point(std::int32_t* x, std::int32_t* y) const;
  void read_calibration_abort() const;
  void calibrate_a_point(std::int32_t x, std::int32_t y, std::int32_t* calibrated_x, std::int32_t* calibrated_y) const;
  std::int32_t set_calibration(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y,
                               std::int32_t* touch_x, std::int32_t* touch_y) const;
  void error_analysis(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y, std::int32_t* touch_x,
                      std::int32_t* touch_y) const;
  void ddsi_disable() const;
  std::int32_t ddsi_enable() const;
  std::int32_t ddsi_get_device_caps(std::int32_t query, void* record) const;
  void ddsi_get_point(std::uint32_t* flags, std::int32_t* x, std::int32_t* y) const;
  void ddsi_power_handler(std::int32_t power_off) const;
  std::int32_t ddsi_set_mode(std::int32_t mode, void* argument) const;

 private:
  DriverEntries entries_;
};

}  // namespace ductra::tapshim
