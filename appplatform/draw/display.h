// The device's screen as the drawing calls see it: the RGB565 bitmap the
// device puts in place (its framebuffer) and its dots per inch. The ink
// draws on a context of the whole display; the window server gives each
// window a context on the same bitmap with the window's origin and clip.
// Safe to use from any thread.
#pragma once

#include <memory>

#include "appplatform/draw/device_context.h"

namespace ductra::platform {

// Puts the screen in place (null: there is none).
void set_display(std::shared_ptr<Bitmap> screen, int dots_per_inch = 96);
std::shared_ptr<Bitmap> display_bitmap();
int display_dots_per_inch();

// A context of the whole display; one that draws nothing when no screen is
// in place.
DeviceContext display_context();
// A context of part of the display: (0, 0) at `origin`, drawing only in
// `clip` (in the context's coordinates).
DeviceContext display_context(Point origin, Rect clip);

}  // namespace ductra::platform
