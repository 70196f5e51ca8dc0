// Repaints the windows of the device under a rectangle of the screen: what
// the ink layer calls to take its ink off the screen again.
#pragma once

#include "appplatform/geometry.h"
#include "appplatform/window_system.h"

namespace ductra {

// Walks every window of the device depth first from the first top-level
// window; each visible one that meets `box` (screen pixels) has the part
// of its client area under the box invalidated, background erased, and is
// repainted at once (a Send to the thread that owns it).
void repaint_windows_under(platform::WindowSystem& windows, const platform::Rect& box);

}  // namespace ductra
