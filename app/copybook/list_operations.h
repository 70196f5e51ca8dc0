// The small operations the copybook's lists share: selecting an item (and
// telling the list's owner), the value of the focused item, answering a
// list's LVN_ITEMCHANGED, and the value of a combo box's chosen item. A
// list is its control's window, its owner and the owner's selection
// callback. UI thread only.
#pragma once

#include <cstdint>

#include "appplatform/dialog/list_view.h"
#include "appplatform/window_types.h"

namespace ductra {

struct CopybookList {
  platform::WindowHandle window;
  void* owner = nullptr;
  void (*on_select)(void* owner) = nullptr;
};

// Focuses, selects and shows the item (wholly), makes it the selection
// mark, then calls the selection callback (also for an index past the end).
void select_item(const CopybookList& list, int item);

// The parameter of the focused item; -1 when no item is focused or it
// cannot be read.
std::int32_t focused_item_param(const CopybookList& list);

// True when the notification came from this list; then, when the item's
// new state is not 0, the selection callback is called.
bool list_item_changed(const CopybookList& list, const platform::ListViewNotify& notification);

// The item data of a combo box's current item.
std::int32_t combo_selected_data(platform::WindowHandle combo);

}  // namespace ductra
