// What the dialog layer keeps about each child window of a dialog and each
// control: its id, font, check state, text limit, whether it is held down,
// its items (list and combo boxes, tabs), its range and position (trackbars,
// up-downs) and its buddy. Records live from the dialog's creation of the child (or the
// control's first message) until the window is destroyed; each is touched
// only on the thread that owns its window.
#pragma once

#include <cstddef>
#include <memory>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/item_list.h"
#include "appplatform/draw/font.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

// A position within [low, high]; set_position clamps.
struct Range {
  int low = 0;
  int high = 100;
  int position = 0;
  int clamp(int value) const { return value < low ? low : value > high ? high : value; }
};

struct ChildRecord {
  int id = 0;
  std::shared_ptr<const Font> font;
  WParam check = BST_UNCHECKED;
  bool pressed = false;
  std::size_t text_limit = kDefaultTextLimit;
  ItemList items;
  Range range;
  int tick_frequency = 1;
  WindowHandle buddy;
};

// The window's record, made on first use. The reference stays valid until
// forget_child_record for that window.
ChildRecord& child_record(WindowHandle window);
// The record when there is one, else null.
const ChildRecord* find_child_record(WindowHandle window);
void forget_child_record(WindowHandle window);

// The id a child was given (0 when none).
int child_id(WindowHandle window);
// The font a control draws with: its own, else the system font.
std::shared_ptr<const Font> child_font(WindowHandle window);

}  // namespace ductra::platform
