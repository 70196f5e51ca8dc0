// The X11 touch driver's sampling: on a thread and an X connection of its
// own it follows the XInput2 button and motion events of every pointer
// (mice and pen tablets alike) over one window and hands each touch sample
// of a stroke (PointerStroke) to the callback. stop() joins the thread;
// after it returns the callback is not called again.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "touchshim/touch_driver.h"

namespace ductra::tapshim {

class X11Pointer {
 public:
  X11Pointer() = default;
  ~X11Pointer() { stop(); }
  X11Pointer(const X11Pointer&) = delete;
  X11Pointer& operator=(const X11Pointer&) = delete;

  // Starts following `window` (scaled by `scale`) on display `display_name`
  // (null: $DISPLAY). False, starting nothing, when the display, XInput2
  // or the window cannot be had.
  bool start(const char* display_name, unsigned long window, int scale, SampleCallback callback);
  void stop();

 private:
  void follow(void* display, int scale, int xinput_opcode, SampleCallback callback);

  std::thread thread_;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
};

}  // namespace ductra::tapshim
