// The touch shim library (libtapshim.so): the device loads it as its touch
// driver. Besides the driver entries of touch_panel_exports.h it exports its
// entry function; everything it needs of the platform (registry, shared
// memory, alive marker, events, window system, clock) it takes from the
// process that loads it, so it sees that process's windows and time.
//
// At attach it opens the pen-sample ring (zeroed, capacity 800, default
// hold time and tolerance), loads the real driver named by HKLM
// "HARDWARE\DEVICEMAP\TOUCH" "DriverName1" (else "touch.dll"; a name that
// is the shim itself is refused) and the component library
// "\Windows\Quillpad.dll" (optional); it fails when the ring or a driver
// cannot be had, keeping nothing. At detach it disables the real driver,
// whose sampling thread has ended when that returns, then lets go of the
// ring, the driver and the component.
#pragma once

#include <cstdint>

#include "touchshim/touch_panel_exports.h"

extern "C" {

// reason: kProcessAttach or kProcessDetach (others do nothing). A truth
// value: false when attaching failed.
TOUCH_DRIVER_EXPORT std::int32_t TouchPanelDllEntry(void* module, std::uint32_t reason, void* reserved);

}  // extern "C"
