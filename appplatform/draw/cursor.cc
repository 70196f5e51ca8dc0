#include "appplatform/draw/cursor.h"

#include <mutex>
#include <utility>

namespace ductra::platform {

namespace {

constexpr int kSide = 16;

std::mutex& cursor_lock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<const Cursor>& current() {
  static std::shared_ptr<const Cursor> cursor;
  return cursor;
}

// An hourglass: black frame bars top and bottom, two triangles meeting in
// the middle, white glass, sand below.
std::shared_ptr<const Cursor> draw_wait_cursor() {
  auto image = Bitmap::create_rgb565(kSide, kSide);
  DeviceContext dc(image);
  const ColorRef magenta = rgb(255, 0, 255);
  dc.fill_rect({0, 0, kSide, kSide}, solid_brush(magenta));
  dc.fill_rect({2, 0, 14, 2}, solid_brush(rgb(0, 0, 0)));
  dc.fill_rect({2, 14, 14, 16}, solid_brush(rgb(0, 0, 0)));
  for (int row = 2; row < 14; ++row) {
    const int inset = row < 8 ? row - 1 : 14 - row;
    dc.fill_rect({3 + inset - 1, row, 13 - inset + 1, row + 1}, solid_brush(rgb(0, 0, 0)));
    if (13 - inset - (3 + inset) > 0) {
      const ColorRef inside = row >= 10 ? rgb(0, 0, 0) : rgb(255, 255, 255);
      dc.fill_rect({3 + inset, row, 13 - inset, row + 1}, solid_brush(inside));
    }
  }
  auto cursor = std::make_shared<Cursor>();
  cursor->image = Icon::from_image(*image, magenta);
  cursor->hot_spot = {kSide / 2, kSide / 2};
  return cursor;
}

}  // namespace

std::shared_ptr<const Cursor> wait_cursor() {
  static const std::shared_ptr<const Cursor> cursor = draw_wait_cursor();
  return cursor;
}

std::shared_ptr<const Cursor> set_cursor(std::shared_ptr<const Cursor> cursor) {
  std::lock_guard lock(cursor_lock());
  return std::exchange(current(), std::move(cursor));
}

std::shared_ptr<const Cursor> current_cursor() {
  std::lock_guard lock(cursor_lock());
  return current();
}

}  // namespace ductra::platform
