// The object a small window's procedure hands its messages to: the one its
// creator stored in the window's user data, as long as that object still
// owns the window (null otherwise, e.g. for messages after it let go);
// and the procedure of a window class whose owner handles every message.
#pragma once

#include "appplatform/window_system.h"

namespace ductra {

template <class Owner>
Owner* window_owner(platform::WindowSystem& system, platform::WindowHandle window) {
  auto* owner = reinterpret_cast<Owner*>(system.user_data(window));
  return owner != nullptr && owner->window() == window ? owner : nullptr;
}

// Hands a message to the window's owner (its `handle`, which may be private
// if the owner befriends this), or to the default processing when the
// window has no owner.
template <class Owner>
platform::MessageResult owner_procedure(platform::WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                        platform::LParam lparam) {
  platform::WindowSystem& system = platform::WindowSystem::current();
  Owner* self = window_owner<Owner>(system, window);
  return self ? self->handle(message, wparam, lparam) : system.default_procedure(window, message, wparam, lparam);
}

}  // namespace ductra
