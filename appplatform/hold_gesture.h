// The hold gesture: after a pen press, whether the pen stays down and still
// long enough to ask for a context menu.
#pragma once

#include <cstdint>

#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr std::uint32_t SHRG_RETURNCMD = 0x0001;
inline constexpr int GN_CONTEXTMENU = 1000;

// How long and how still the pen must be held.
inline constexpr std::uint32_t kHoldTimeMs = 500;
inline constexpr int kHoldTolerance = 5;

// Called from a window's WM_LBUTTONDOWN with the press's client point:
// GN_CONTEXTMENU when the pen is held, else 0. A release or a move that
// ends the gesture stays queued for the window.
int recognize_gesture(WindowHandle window, Point client_point, std::uint32_t flags);

}  // namespace ductra::platform
