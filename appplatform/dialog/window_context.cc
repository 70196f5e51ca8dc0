#include "appplatform/dialog/window_context.h"

#include "appplatform/draw/display.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

DeviceContext window_context(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  const auto origin = system.client_to_screen(window, {0, 0});
  const auto client = system.client_rect(window);
  if (!origin || !client) return display_context({0, 0}, Rect{});
  return display_context(*origin, *client);
}

}  // namespace ductra::platform
