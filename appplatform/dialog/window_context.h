// A drawing context on a window's client area: the display's bitmap with
// (0, 0) at the client's top left, clipped to the client rectangle. A
// window that does not exist, or a device without a display, gets a
// context that draws nothing.
#pragma once

#include "appplatform/draw/device_context.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

DeviceContext window_context(WindowHandle window);

}  // namespace ductra::platform
