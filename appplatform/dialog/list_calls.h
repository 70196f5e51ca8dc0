// The string-list calls that list boxes and combo boxes share, answered on
// a control's ItemList. Each control maps its own message numbers onto them.
// A null text pointer adds nothing and gets kNoItem.
#pragma once

#include <cstdint>

#include "appplatform/window_types.h"

namespace ductra::platform {

enum class ListCall { add, clear, count, get_selection, set_selection, get_data, set_data };

// Answers `call` on the control's items, repainting it when they changed.
MessageResult answer_list_call(WindowHandle control, ListCall call, WParam wparam, LParam lparam);

// Gives the control an empty list, sorted when its style has `sort_style`.
void start_item_list(WindowHandle control, std::uint32_t sort_style);

}  // namespace ductra::platform
