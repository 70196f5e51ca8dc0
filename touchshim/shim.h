// The touch shim's state in the process that loaded it: the ring block, the
// real driver and its entries, the component library, and the routing of
// samples between them and the system. One per process (instance()); its
// entry points are touch_panel_exports.h and tapshim.h.
//
// Attach, detach and enable come from the loading process's driver thread;
// route() runs on the real driver's sampling thread, one sample at a time.
#pragma once

#include <cstdint>

#include "appplatform/device_root.h"
#include "appplatform/library.h"
#include "appplatform/shared_memory.h"
#include "touchshim/device_routing_host.h"
#include "touchshim/device_window_query.h"
#include "touchshim/forwarded_driver.h"
#include "touchshim/sample_router.h"

namespace ductra::tapshim {

class Shim {
 public:
  static Shim& instance();

  // Opens and claims the ring, loads the driver (when none is loaded yet)
  // and the component. False, keeping no ring, when the ring or a driver
  // cannot be had.
  bool open_resources();

  // Lets go of the ring and the component; with `full_release` the driver
  // is first disabled (its sampling thread ends) and afterwards unloaded.
  void close_resources(bool full_release);

  // Keeps `system_callback` for samples that go to the system and enables
  // the driver with the shim's routing as its callback.
  std::int32_t enable(SampleCallback system_callback);

  std::int32_t route(std::uint32_t flags, std::int32_t x, std::int32_t y) { return router_.route(flags, x, y); }

  const ForwardedDriver& driver() const { return driver_; }
  const platform::PenRing& ring() const { return router_.ring(); }

 private:
  Shim();
  bool load_touch_driver(const platform::DeviceRoot& root);
  bool load_driver_named(const platform::DeviceRoot& root, std::u16string_view name);

  DeviceRoutingHost host_;
  DeviceWindowQuery windows_;
  SampleRouter router_;
  ForwardedDriver driver_;
  platform::Library real_driver_;
  platform::Library component_;
  platform::SharedMemory ring_block_;
};

}  // namespace ductra::tapshim
