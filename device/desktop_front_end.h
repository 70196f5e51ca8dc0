// The device on the desktop: its screen in a window (ScreenWindow), the
// text it types going to the focused X11 window (DesktopTyping), and the
// X11 touch driver told which window to follow ($DUCTRA_X11_WINDOW and
// $DUCTRA_X11_SCALE, set for the process before the touch shim loads the
// driver). Closing the window asks the device to end as SIGTERM does.
//
// While a dialog with an edit field is open in any process of the device
// (the window server hears it), the window takes the keyboard focus and
// passes the keys pressed in it to the window server, which gives them to
// the device's focus window; when the last such dialog closes, the window
// gives the focus back to the window that had it.
#pragma once

#include <memory>
#include <string>

#include "appplatform/draw/bitmap.h"
#include "appplatform/window_server.h"
#include "device/desktop_typing.h"
#include "device/screen_window.h"

namespace ductra::device {

// Whether there is a desktop to show the device on ($DISPLAY is set).
bool desktop_is_available();

class DesktopFrontEnd {
 public:
  DesktopFrontEnd() = default;
  ~DesktopFrontEnd();
  DesktopFrontEnd(const DesktopFrontEnd&) = delete;
  DesktopFrontEnd& operator=(const DesktopFrontEnd&) = delete;

  // Shows `screen` for the windows of `server`, which must outlive this.
  // False, with the reason in *error, when the display cannot be used.
  bool open(platform::WindowServer& server, std::shared_ptr<platform::Bitmap> screen, std::string* error);

  DesktopTyping& typing() { return typing_; }

 private:
  DesktopTyping typing_;
  ScreenWindow window_;
  platform::WindowServer* server_ = nullptr;
};

}  // namespace ductra::device
