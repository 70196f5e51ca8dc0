// The object a small window's procedure hands its messages to: the one its
// creator stored in the window's user data, as long as that object still
// owns the window (null otherwise, e.g. for messages after it let go).
#pragma once

#include "appplatform/window_system.h"

namespace ductra {

template <class Owner>
Owner* window_owner(platform::WindowSystem& system, platform::WindowHandle window) {
  auto* owner = reinterpret_cast<Owner*>(system.user_data(window));
  return owner != nullptr && owner->window() == window ? owner : nullptr;
}

}  // namespace ductra
