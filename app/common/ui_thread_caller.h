// Running a piece of work on the UI thread from any thread.
//
// The work travels in a message sent to a window the UI thread owns (the
// shell window); that window's procedure hands the message to
// run_sent_work(). The caller waits until the work has run, and its waits
// keep answering messages sent to it meanwhile; on the UI thread itself the
// send is a direct call. The message carries a pointer, so it is never
// delivered to another process, and only work handed over by a caller of
// this process runs (platform handed_work.h).
#pragma once

#include <functional>

#include "appplatform/window_types.h"

namespace ductra {

inline constexpr std::uint32_t WM_DUCTRA_RUN_ON_UI = 0x8540;

class UiThreadCaller {
 public:
  explicit UiThreadCaller(platform::WindowHandle window);

  // False, with nothing run, when the window (or its thread) is gone.
  bool run(const std::function<void()>& work) const;

 private:
  platform::WindowHandle window_;
};

// For the window's procedure on WM_DUCTRA_RUN_ON_UI: runs the work a
// caller handed over; anything else runs nothing.
platform::MessageResult run_sent_work(platform::LParam lparam);

}  // namespace ductra
