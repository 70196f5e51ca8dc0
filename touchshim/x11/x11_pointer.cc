#include "touchshim/x11/x11_pointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "touchshim/x11/pointer_stroke.h"

namespace ductra::tapshim {
namespace {

bool select_pointer_events(Display* display, Window window) {
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_ButtonPress);
  XISetMask(bits, XI_ButtonRelease);
  XISetMask(bits, XI_Motion);
  XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
  return XISelectEvents(display, window, &mask, 1) == Success;
}

std::optional<TouchSample> sample_of(PointerStroke& stroke, const XIDeviceEvent& event) {
  switch (event.evtype) {
    case XI_ButtonPress:
      return stroke.press(event.detail, event.event_x, event.event_y);
    case XI_ButtonRelease:
      return stroke.release(event.detail, event.event_x, event.event_y);
    case XI_Motion:
      return stroke.move(event.event_x, event.event_y);
    default:
      return std::nullopt;
  }
}

void close_pipe(int (&ends)[2]) {
  for (int& end : ends) {
    if (end >= 0) ::close(end);
    end = -1;
  }
}

}  // namespace

bool X11Pointer::start(const char* display_name, unsigned long window, int scale, SampleCallback callback) {
  stop();
  if (callback == nullptr || window == 0) return false;
  Display* display = XOpenDisplay(display_name);
  if (display == nullptr) return false;
  int opcode = 0, first_event = 0, first_error = 0;
  int major = 2, minor = 0;
  if (!XQueryExtension(display, "XInputExtension", &opcode, &first_event, &first_error) ||
      XIQueryVersion(display, &major, &minor) != Success || !select_pointer_events(display, window) ||
      ::pipe2(wake_, O_CLOEXEC) != 0) {
    XCloseDisplay(display);
    return false;
  }
  XSync(display, False);
  stopping_ = false;
  thread_ = std::thread([this, display, scale, opcode, callback] {
    follow(display, scale, opcode, callback);
    XCloseDisplay(display);
  });
  return true;
}

void X11Pointer::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  const char byte = 0;
  (void)::write(wake_[1], &byte, 1);
  thread_.join();
  close_pipe(wake_);
}

void X11Pointer::follow(void* opaque_display, int scale, int xinput_opcode, SampleCallback callback) {
  auto* display = static_cast<Display*>(opaque_display);
  PointerStroke stroke(scale);
  pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {wake_[0], POLLIN, 0}};
  while (!stopping_) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      XGenericEventCookie& cookie = event.xcookie;
      if (cookie.type != GenericEvent || cookie.extension != xinput_opcode || !XGetEventData(display, &cookie)) {
        continue;
      }
      if (const std::optional<TouchSample> sample = sample_of(stroke, *static_cast<XIDeviceEvent*>(cookie.data))) {
        callback(sample->flags, sample->x, sample->y);
      }
      XFreeEventData(display, &cookie);
    }
    ::poll(waits, 2, -1);
  }
}

}  // namespace ductra::tapshim
