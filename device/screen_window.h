// The device's screen on the desktop: an X11 window that shows the shared
// framebuffer, each pixel as a square of window_scale() desktop pixels,
// kept above other windows and never taking the keyboard focus (the text
// the device types goes to the application the person was in), except while
// want_keyboard(true) says one of the device's dialogs has an edit field.
// Meanwhile the keys pressed in the window go to the key handler, as the
// display's input method types them (desktop_key.h); at other times none
// do.
//
// Its own thread owns the X connection: it repaints the rows of the screen
// that changed since they were last shown (through MIT-SHM when the display
// has it) and what the desktop uncovers, and calls the close handler when
// the person closes the window. The pointer reaches the device through the
// X11 touch driver, which reads this window's events on a connection of its
// own.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "appplatform/draw/bitmap.h"
#include "appplatform/window_server.h"
#include "device/desktop_key.h"

namespace ductra::device {

class ScreenWindow {
 public:
  ScreenWindow();
  // Stops the thread and takes the window down.
  ~ScreenWindow();
  ScreenWindow(const ScreenWindow&) = delete;
  ScreenWindow& operator=(const ScreenWindow&) = delete;

  using KeyHandler = std::function<void(platform::KeyAction, const DesktopKey&)>;

  // Opens the display (null: $DISPLAY) and maps the window showing
  // `screen`; `on_close` runs on the window's thread when it is closed, and
  // `on_key` for each key pressed or released while the window wants the
  // keyboard. False, with the reason in *error, when there is no display.
  bool open(const char* display_name, std::shared_ptr<platform::Bitmap> screen, std::function<void()> on_close,
            KeyHandler on_key, std::string* error);

  unsigned long window_id() const;
  int scale() const;

  // Takes the keyboard focus (true) or gives it back to the window that
  // had it (false). Any thread.
  void want_keyboard(bool wanted);

 private:
  struct X11;
  std::unique_ptr<X11> x11_;
};

}  // namespace ductra::device
