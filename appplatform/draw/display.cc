#include "appplatform/draw/display.h"

#include <mutex>

namespace ductra::platform {

namespace {

struct Display {
  std::mutex mutex;
  std::shared_ptr<Bitmap> screen;
  int dots_per_inch = 96;
};

Display& display() {
  static Display instance;
  return instance;
}

}  // namespace

void set_display(std::shared_ptr<Bitmap> screen, int dots_per_inch) {
  Display& d = display();
  std::lock_guard lock(d.mutex);
  d.screen = std::move(screen);
  d.dots_per_inch = dots_per_inch;
}

std::shared_ptr<Bitmap> display_bitmap() {
  Display& d = display();
  std::lock_guard lock(d.mutex);
  return d.screen;
}

int display_dots_per_inch() {
  Display& d = display();
  std::lock_guard lock(d.mutex);
  return d.dots_per_inch;
}

DeviceContext display_context() {
  return DeviceContext(display_bitmap(), display_dots_per_inch());
}

DeviceContext display_context(Point origin, Rect clip) {
  return DeviceContext(display_bitmap(), origin, clip, display_dots_per_inch());
}

}  // namespace ductra::platform
