#include "device/desktop_front_end.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "appplatform/dialog/keyboard_demand.h"

namespace ductra::device {

bool desktop_is_available() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

DesktopFrontEnd::~DesktopFrontEnd() {
  if (listening_) platform::set_keyboard_demand_listener({});
}

bool DesktopFrontEnd::open(std::shared_ptr<platform::Bitmap> screen, std::string* error) {
  if (!typing_.open(nullptr, error)) return false;
  const auto end_device = [] { ::kill(::getpid(), SIGTERM); };
  if (!window_.open(nullptr, std::move(screen), end_device, error)) return false;
  ::setenv("DUCTRA_X11_WINDOW", std::to_string(window_.window_id()).c_str(), 1);
  ::setenv("DUCTRA_X11_SCALE", std::to_string(window_.scale()).c_str(), 1);
  platform::set_keyboard_demand_listener([this](bool wanted) { window_.want_keyboard(wanted); });
  listening_ = true;
  return true;
}

}  // namespace ductra::device
