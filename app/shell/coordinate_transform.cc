#include "app/shell/coordinate_transform.h"

namespace ductra {

void CoordinateTransform::transform(std::int32_t* x, std::int32_t* y) const {
  const std::int32_t touch_width = 4 * width;
  const std::int32_t touch_height = 4 * height;
  const std::int32_t old_x = *x;
  const std::int32_t old_y = *y;
  switch (orientation) {
    case 1:
      *x = touch_width - old_y;
      *y = old_x;
      break;
    case 2:
      *x = touch_width - old_x;
      *y = touch_height - old_y;
      break;
    case 4:
      *x = old_y;
      *y = touch_height - old_x;
      break;
    default:
      break;
  }
}

}  // namespace ductra
