// Work one thread hands to the thread that owns a window, in a message whose
// lParam is the work's address (the input-panel manager's calls, the
// application's calls onto its UI thread). The sender waits until the work
// has run, answering Sends to its own windows meanwhile.
//
// The window's procedure runs only work that send_work() of this process
// handed over and still waits on: the same message number sent from another
// process, whose lParam is no address here, runs nothing.
#pragma once

#include <functional>

#include "appplatform/window_system.h"

namespace ductra::platform {

SendOutcome send_work(WindowHandle window, std::uint32_t message, const std::function<void()>& work);

// For the window's procedure: runs the work at `lparam` and answers true
// when it was handed over; false, running nothing, otherwise.
bool run_handed_work(LParam lparam);

}  // namespace ductra::platform
