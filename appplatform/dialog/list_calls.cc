#include "appplatform/dialog/list_calls.h"

#include "appplatform/dialog/child_record.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

MessageResult answer(ItemList& items, ListCall call, WParam wparam, LParam lparam, bool& changed) {
  const int index = static_cast<int>(static_cast<std::intptr_t>(wparam));
  changed = false;
  switch (call) {
    case ListCall::add: {
      const auto* text = reinterpret_cast<const char16_t*>(lparam);
      if (!text) return kNoItem;
      changed = true;
      return items.add(text);
    }
    case ListCall::clear:
      changed = true;
      items.clear();
      return 0;
    case ListCall::count:
      return items.count();
    case ListCall::get_selection:
      return items.selected();
    case ListCall::set_selection:
      changed = true;
      return items.select(index) ? index : kNoItem;
    case ListCall::get_data:
      return static_cast<MessageResult>(items.data(index));
    case ListCall::set_data:
      return items.set_data(index, static_cast<std::uintptr_t>(lparam)) ? 0 : kNoItem;
  }
  return kNoItem;
}

}  // namespace

MessageResult answer_list_call(WindowHandle control, ListCall call, WParam wparam, LParam lparam) {
  bool changed = false;
  const MessageResult result = answer(child_record(control).items, call, wparam, lparam, changed);
  if (changed) WindowSystem::current().invalidate_rect(control, std::nullopt, true);
  return result;
}

void start_item_list(WindowHandle control, std::uint32_t sort_style) {
  const auto info = WindowSystem::current().describe(control);
  child_record(control).items = ItemList(info && (info->style & sort_style));
}

}  // namespace ductra::platform
