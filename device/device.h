// ductra-device: the handheld the application runs on. It sets its device
// root up (device_setup.h), holds it as its only device, owns the window
// server (whose socket the other processes of the device join), the input
// panel with the desktop keyboard as the default input method and the
// component "\Windows\Quillpad.dll" selected at start-up (which starts the
// application), and the touch shim with the touch driver of the run.
//
// Shutting down (the end of a replay, SIGTERM or SIGINT) selects the desktop
// keyboard, so the component is deselected and the application saves and
// ends, and then takes the rest down in the reverse order.
#pragma once

#include <string>

#include "device/device_options.h"

namespace ductra::device {

// The exit code: 0 after an orderly end, 1 when the device cannot start or
// a replay did not get the whole result of every sample (the reason on
// standard error; the replay still prints one line per sample).
int run_device(const DeviceOptions& options);

}  // namespace ductra::device
