// The two key faces that are drawn, not written: the space symbol (an open
// box: a line down, across and up) and the backspace arrow (a line with an
// arrowhead at its left end), in the context's current pen. The key row and
// the tool window's keys both draw them.
#pragma once

#include "appplatform/draw/device_context.h"

namespace ductra {

// An open box from `inset` pixels inside the cell's left edge to `inset`
// inside its right edge, `half_height` above and below the cell's centre.
void draw_space_symbol(platform::DeviceContext& dc, const platform::Rect& cell, int inset, int half_height);

// A line at the cell's centre from `inset` pixels inside its left edge to
// `inset` inside its right edge; the arrowhead's arms reach a quarter of
// the cell's width to the right and a quarter of its height up and down.
void draw_backspace_arrow(platform::DeviceContext& dc, const platform::Rect& cell, int inset);

}  // namespace ductra
