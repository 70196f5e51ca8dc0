// The touch-driver interface: the sixteen entry points a touch-panel driver
// library exports (by these names) and the per-sample callback through which
// it delivers samples. The touch shim exports the same entries and forwards
// each to the real driver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace ductra::tapshim {

// Called on the driver's sampling thread for each sample: flags (bit 0
// valid, 1 down, 2 calibrated, 3 previously down) and the calibrated point
// in touch units. Returns what the receiver made of the sample.
using SampleCallback = std::int32_t (*)(std::uint32_t flags, std::int32_t x, std::int32_t y);

// Why a library's entry function is called: the process that loads the
// library calls it with kProcessAttach right after loading and with
// kProcessDetach before unloading.
inline constexpr std::uint32_t kProcessDetach = 0;
inline constexpr std::uint32_t kProcessAttach = 1;

// Device-capability queries; query 2 fills a CalibrationPointQuery.
inline constexpr std::int32_t kCalibrationPointQuery = 2;

struct CalibrationPointQuery {
  std::int32_t point_index;
  std::int32_t display_width;
  std::int32_t display_height;
  std::int32_t x;
  std::int32_t y;
};
static_assert(sizeof(CalibrationPointQuery) == 20);
static_assert(offsetof(CalibrationPointQuery, display_width) == 4);
static_assert(offsetof(CalibrationPointQuery, display_height) == 8);

// The entries, as pointers. A truth value is 0 (false) or not.
struct DriverEntries {
  std::int32_t (*get_device_caps)(std::int32_t query, void* record) = nullptr;
  std::int32_t (*set_mode)(std::int32_t mode, void* argument) = nullptr;
  void (*power_handler)(std::int32_t power_off) = nullptr;
  std::int32_t (*enable)(SampleCallback callback) = nullptr;
  void (*disable)() = nullptr;
  std::int32_t (*read_calibration_point)(std::int32_t* x, std::int32_t* y) = nullptr;
  void (*read_calibration_abort)() = nullptr;
  void (*calibrate_a_point)(std::int32_t x, std::int32_t y, std::int32_t* calibrated_x,
                            std::int32_t* calibrated_y) = nullptr;
  std::int32_t (*set_calibration)(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y,
                                  std::int32_t* touch_x, std::int32_t* touch_y) = nullptr;
  void (*error_analysis)(std::int32_t count, std::int32_t* screen_x, std::int32_t* screen_y, std::int32_t* touch_x,
                         std::int32_t* touch_y) = nullptr;
  void (*ddsi_disable)() = nullptr;
  std::int32_t (*ddsi_enable)() = nullptr;
  std::int32_t (*ddsi_get_device_caps)(std::int32_t query, void* record) = nullptr;
  void (*ddsi_get_point)(std::uint32_t* flags, std::int32_t* x, std::int32_t* y) = nullptr;
  void (*ddsi_power_handler)(std::int32_t power_off) = nullptr;
  std::int32_t (*ddsi_set_mode)(std::int32_t mode, void* argument) = nullptr;
};

// Resolves every entry of a loaded driver by its exported name through
// `lookup` (name -> address, null when missing); missing entries stay null.
template <typename Lookup>
DriverEntries resolve_driver_entries(Lookup&& lookup) {
  DriverEntries entries;
  auto bind = [&](auto& entry, const char* name) {
    entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(lookup(name));
  };
  bind(entries.get_device_caps, "TouchPanelGetDeviceCaps");
  bind(entries.set_mode, "TouchPanelSetMode");
  bind(entries.power_handler, "TouchPanelPowerHandler");
  bind(entries.enable, "TouchPanelEnable");
  bind(entries.disable, "TouchPanelDisable");
  bind(entries.read_calibration_point, "TouchPanelReadCalibrationPoint");
  bind(entries.read_calibration_abort, "TouchPanelReadCalibrationAbort");
  bind(entries.calibrate_a_point, "TouchPanelCalibrateAPoint");
  bind(entries.set_calibration, "TouchPanelSetCalibration");
  bind(entries.error_analysis, "ErrorAnalysis");
  bind(entries.ddsi_disable, "DdsiTouchPanelDisable");
  bind(entries.ddsi_enable, "DdsiTouchPanelEnable");
  bind(entries.ddsi_get_device_caps, "DdsiTouchPanelGetDeviceCaps");
  bind(entries.ddsi_get_point, "DdsiTouchPanelGetPoint");
  bind(entries.ddsi_power_handler, "DdsiTouchPanelPowerHandler");
  bind(entries.ddsi_set_mode, "DdsiTouchPanelSetMode");
  return entries;
}

}  // namespace ductra::tapshim
