// The process-wide screen values: display scale, screen size, its shape and
// the coordinate transform of the current orientation. The UI thread sets
// them at start-up and after every rotation; the ink capture thread reads
// them at any time. They are published as one value, so a reader always
// sees a size and an orientation that belong together.
#pragma once

#include "app/shell/coordinate_transform.h"
#include "app/shell/screen_platform.h"

namespace ductra {

struct ScreenMetrics {
  int display_scale = 1;  // dots per inch / 96, at least 1
  int width = 0;          // pixels, current orientation
  int height = 0;
  int orientation = 0;    // 0, 1, 2 or 4

  bool is_square() const { return width == height; }
  bool is_landscape() const { return height < width; }
  CoordinateTransform transform() const { return {orientation, width, height}; }
};

// The display orientation: 0, 1, 2 or 4; 0 when the query fails or gives
// another value.
int display_orientation(const ScreenPlatform& platform);

// Reads the screen values and publishes them.
void init_screen_globals(const ScreenPlatform& platform);

// The values last published (before the first init: scale 1, size 0 x 0,
// orientation 0).
ScreenMetrics screen_metrics();

}  // namespace ductra
