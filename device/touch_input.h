// The device's touch input: the touch shim loaded as the touch driver (it
// loads the real driver, "\Windows\touch.dll", itself) and enabled with the
// device's sample callback, which hands every sample the shim passes on to
// the window server as pointer input (touch units, four to a pixel). One
// TouchInput serves a process.
#pragma once

#include <filesystem>
#include <string>

#include "appplatform/device_root.h"
#include "appplatform/library.h"
#include "appplatform/window_server.h"

namespace ductra::device {

class TouchInput {
 public:
  TouchInput() = default;
  // Disables the driver (its sampling has ended when this returns) and
  // detaches and unloads the shim.
  ~TouchInput();
  TouchInput(const TouchInput&) = delete;
  TouchInput& operator=(const TouchInput&) = delete;

  // False, with the reason in *error, when the shim cannot be loaded,
  // attached or enabled.
  bool start(const platform::DeviceRoot& root, const std::filesystem::path& shim, platform::WindowServer& server,
             std::string* error);

 private:
  platform::Library shim_;
  bool attached_ = false;
  bool enabled_ = false;
};

}  // namespace ductra::device
