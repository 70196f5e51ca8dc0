// The record every WM_NOTIFY carries in its lParam (a pointer, so such
// notifications never leave the process): which control sent it and why.
// Controls send it to their parent; a sheet to its pages.
#pragma once

#include <cstdint>

#include "appplatform/window_types.h"

namespace ductra::platform {

struct NotifyHeader {
  WindowHandle from;
  std::uintptr_t id = 0;
  int code = 0;
};

inline constexpr int NM_CLICK = -2;

// Sends WM_NOTIFY with `header` (its `from` and `id` filled from `control`)
// to the control's parent; returns the parent's answer.
MessageResult notify_parent(WindowHandle control, NotifyHeader& header);

}  // namespace ductra::platform
