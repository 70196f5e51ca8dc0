#include "touchshim/device_routing_host.h"

#include <memory>
#include <thread>

#include "appplatform/alive_marker.h"
#include "appplatform/clock.h"
#include "appplatform/pen_ring.h"
#include "appplatform/shared_event.h"
#include "appplatform/window_system.h"

namespace ductra::tapshim {

std::uint32_t DeviceRoutingHost::tick_count() const { return platform::tick_count(); }

std::int32_t DeviceRoutingHost::pass_to_system(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  const SampleCallback callback = system_callback_.load();
  return callback == nullptr ? 0 : callback(flags, x, y);
}

Liveness DeviceRoutingHost::probe_application() const {
  return platform::AliveMarker::is_held(runtime_, platform::kApplicationAliveName) ? Liveness::alive : Liveness::gone;
}

// The event is reached by name at each use; no handle stays open.
void DeviceRoutingHost::set_prompt_stroke_event() {
  std::unique_ptr<platform::SharedEvent> event;
  platform::SharedEvent::create(runtime_, platform::kPromptStrokeEndedName, platform::EventReset::automatic, false,
                                &event);
  if (event) event->set();
}

std::optional<int> DeviceRoutingHost::display_orientation() const {
  platform::WindowSystem* windows = platform::WindowSystem::current_if_any();
  if (windows == nullptr) return std::nullopt;
  return windows->screen().orientation;
}

ScreenSize DeviceRoutingHost::screen_size() const {
  platform::WindowSystem* windows = platform::WindowSystem::current_if_any();
  if (windows == nullptr) return {};
  return {windows->system_metric(platform::SM_CXSCREEN), windows->system_metric(platform::SM_CYSCREEN)};
}

void DeviceRoutingHost::yield() { std::this_thread::yield(); }

}  // namespace ductra::tapshim
