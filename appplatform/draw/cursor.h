// The pointer's shape: the process's current cursor, which the device shows,
// and the system's wait cursor that the application puts up around long
// work. Safe to use from any thread.
#pragma once

#include <memory>

#include "appplatform/draw/icon.h"

namespace ductra::platform {

struct Cursor {
  std::shared_ptr<const Icon> image;
  Point hot_spot;
};

// The hourglass, 16 x 16 with its hot spot in the middle.
std::shared_ptr<const Cursor> wait_cursor();

// Makes `cursor` current (null: no cursor) and returns the previous one.
std::shared_ptr<const Cursor> set_cursor(std::shared_ptr<const Cursor> cursor);
std::shared_ptr<const Cursor> current_cursor();

}  // namespace ductra::platform
