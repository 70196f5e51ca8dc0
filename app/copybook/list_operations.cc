#include "app/copybook/list_operations.h"

#include "appplatform/dialog/control_constants.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr std::uint32_t kFocusedAndSelected = 3;

platform::MessageResult send(platform::WindowHandle window, std::uint32_t message, platform::WParam wparam,
                             platform::LParam lparam) {
  return platform::WindowSystem::current().send_message(window, message, wparam, lparam).result;
}

void tell_owner(const CopybookList& list) {
  if (list.on_select != nullptr) list.on_select(list.owner);
}

}  // namespace

void select_item(const CopybookList& list, int item) {
  platform::ListViewItem state;
  state.state = kFocusedAndSelected;
  state.state_mask = kFocusedAndSelected;
  send(list.window, platform::LVM_SETITEMSTATE, static_cast<platform::WParam>(item),
       reinterpret_cast<platform::LParam>(&state));
  send(list.window, platform::LVM_ENSUREVISIBLE, static_cast<platform::WParam>(item), 0);
  send(list.window, platform::LVM_SETSELECTIONMARK, 0, item);
  tell_owner(list);
}

std::int32_t focused_item_param(const CopybookList& list) {
  const auto focused = static_cast<int>(
      send(list.window, platform::LVM_GETNEXTITEM, static_cast<platform::WParam>(-1), platform::LVNI_FOCUSED));
  platform::ListViewItem item;
  item.mask = platform::LVIF_PARAM;
  item.item = focused;
  if (focused < 0 || send(list.window, platform::LVM_GETITEM, 0, reinterpret_cast<platform::LParam>(&item)) == 0) {
    return -1;
  }
  return static_cast<std::int32_t>(item.param);
}

bool list_item_changed(const CopybookList& list, const platform::ListViewNotify& notification) {
  if (notification.header.from != list.window) return false;
  if (notification.new_state != 0) tell_owner(list);
  return true;
}

std::int32_t combo_selected_data(platform::WindowHandle combo) {
  const platform::MessageResult chosen = send(combo, platform::CB_GETCURSEL, 0, 0);
  return static_cast<std::int32_t>(send(combo, platform::CB_GETITEMDATA, static_cast<platform::WParam>(chosen), 0));
}

}  // namespace ductra
