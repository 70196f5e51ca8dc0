// What the input-panel component keeps for its whole process: the counts
// that decide whether its library may be unloaded (live input-method
// objects and server locks), the device it starts the application on, and
// the one relay window of the process.
//
// The counts change with interlocked operations from any thread. The relay
// window is made when an input-method object is selected, on the
// input-panel manager's thread, with that process's window system and the
// screen's density; it is used only there and goes when the object is
// deselected, so it never outlives the window system that made it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "appplatform/device_root.h"
#include "appplatform/program_map.h"
#include "appplatform/window_system.h"
#include "inputpanel/relay_window.h"

namespace ductra::quillpad {

// How long the component waits for a started application's shell window.
inline constexpr std::uint32_t kStartTimeoutMs = 10000;

struct ComponentDevice {
  platform::DeviceRoot root;
  platform::ProgramMap programs;
  std::uint32_t start_timeout_ms = kStartTimeoutMs;
};

class Component {
 public:
  explicit Component(ComponentDevice device) : device_(std::move(device)) {}
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  // The component of this process, on the device named by the environment.
  static Component& of_this_process();

  const ComponentDevice& device() const { return device_; }

  void object_made() { ++objects_; }
  void object_gone() { --objects_; }
  void lock_server(bool lock) { lock ? ++locks_ : --locks_; }
  bool can_unload() const { return objects_.load() == 0 && locks_.load() == 0; }

  // The relay window, made when there is none.
  RelayWindow& relay();
  // Destroys the relay window, unregisters its class and lets its callback go.
  void release_relay() { relay_.reset(); }

 private:
  const ComponentDevice device_;
  std::atomic<int> objects_{0};
  std::atomic<int> locks_{0};
  std::unique_ptr<RelayWindow> relay_;
};

}  // namespace ductra::quillpad
