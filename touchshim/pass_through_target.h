// The window test at pen down: a stroke that starts on a button, a
// trackbar, a scroll bar or its strip along a window's edge, or on one of
// the application's own tool and key windows, belongs to the system.
#pragma once

#include "touchshim/window_query.h"

namespace ductra::tapshim {

// Walks from the window under `point` down through the children under it;
// true as soon as one of them is such a target.
bool is_pass_through_target(const WindowQuery& windows, ScreenPoint point);

}  // namespace ductra::tapshim
