#include "device/desktop_front_end.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace ductra::device {

bool desktop_is_available() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

DesktopFrontEnd::~DesktopFrontEnd() {
  if (server_ != nullptr) server_->set_keyboard_listener({});
}

bool DesktopFrontEnd::open(platform::WindowServer& server, std::shared_ptr<platform::Bitmap> screen,
                           std::string* error) {
  if (!typing_.open(nullptr, error)) return false;
  const auto end_device = [] { ::kill(::getpid(), SIGTERM); };
  const auto pass_key = [&server](platform::KeyAction action, const DesktopKey& key) {
    server.key_input(action, key.virtual_key, key.characters);
  };
  if (!window_.open(nullptr, std::move(screen), end_device, pass_key, error)) return false;
  ::setenv("DUCTRA_X11_WINDOW", std::to_string(window_.window_id()).c_str(), 1);
  ::setenv("DUCTRA_X11_SCALE", std::to_string(window_.scale()).c_str(), 1);
  server.set_keyboard_listener([this](bool wanted) { window_.want_keyboard(wanted); });
  server_ = &server;
  return true;
}

}  // namespace ductra::device
