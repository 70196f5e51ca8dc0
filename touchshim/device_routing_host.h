// The routing host of the loaded shim: the device's tick count, the
// system's sample callback given to TouchPanelEnable, the application's
// alive marker and prompt-stroke event in the device's runtime folder, and
// the screen of the process's window system.
//
// The callback may be changed from any thread while samples are routed.
// Without a window system in the process the orientation query fails and
// the screen is 0 by 0.
#pragma once

#include <atomic>

#include "appplatform/runtime_dir.h"
#include "touchshim/routing_host.h"
#include "touchshim/touch_driver.h"

namespace ductra::tapshim {

class DeviceRoutingHost final : public RoutingHost {
 public:
  void set_runtime(const platform::RuntimeDir& runtime) { runtime_ = runtime; }
  void set_system_callback(SampleCallback callback) { system_callback_.store(callback); }

  std::uint32_t tick_count() const override;
  std::int32_t pass_to_system(std::uint32_t flags, std::int32_t x, std::int32_t y) override;
  Liveness probe_application() const override;
  void set_prompt_stroke_event() override;
  std::optional<int> display_orientation() const override;
  ScreenSize screen_size() const override;
  void yield() override;

 private:
  platform::RuntimeDir runtime_;
  std::atomic<SampleCallback> system_callback_{nullptr};
};

}  // namespace ductra::tapshim
