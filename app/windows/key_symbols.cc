#include "app/windows/key_symbols.h"

namespace ductra {

void draw_space_symbol(platform::DeviceContext& dc, const platform::Rect& cell, int inset, int half_height) {
  const int centre = (cell.top + cell.bottom) / 2;
  const int left = cell.left + inset, right = cell.right - inset;
  const platform::Point box[] = {
      {left, centre - half_height}, {left, centre + half_height}, {right, centre + half_height}, {right, centre - half_height}};
  dc.polyline(box);
}

void draw_backspace_arrow(platform::DeviceContext& dc, const platform::Rect& cell, int inset) {
  const int centre = (cell.top + cell.bottom) / 2;
  const platform::Point tip{cell.left + inset, centre};
  dc.move_to(tip.x, tip.y);
  dc.line_to(cell.right - inset, centre);
  const int arm_x = tip.x + cell.width() / 4, arm_y = cell.height() / 4;
  const platform::Point head[] = {{arm_x, centre - arm_y}, tip, {arm_x, centre + arm_y}};
  dc.polyline(head);
}

}  // namespace ductra
