// One paint of a window of ours: takes what waits to be painted and gives a
// context on the window's client area (origin at its top left, clipped to
// it) with the client rectangle; what the context selected goes with it.
#pragma once

#include "appplatform/dialog/window_context.h"
#include "appplatform/window_system.h"

namespace ductra {

class WindowPaint {
 public:
  WindowPaint(platform::WindowSystem& windows, platform::WindowHandle window)
      : windows_(windows),
        window_(window),
        paint_(windows.begin_paint(window)),
        dc_(platform::window_context(window)),
        client_(windows.client_rect(window).value_or(platform::Rect{})) {}
  ~WindowPaint() { windows_.end_paint(window_, paint_); }
  WindowPaint(const WindowPaint&) = delete;
  WindowPaint& operator=(const WindowPaint&) = delete;

  platform::DeviceContext& dc() { return dc_; }
  const platform::Rect& client() const { return client_; }

 private:
  platform::WindowSystem& windows_;
  platform::WindowHandle window_;
  platform::PaintInfo paint_;
  platform::DeviceContext dc_;
  platform::Rect client_;
};

}  // namespace ductra
