#include "app/settings/dialog.h"

#include "app/common/localizer.h"
#include "app/common/menu_bar.h"
#include "app/settings/dialog_templates.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/dialog/full_screen_dialog.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/message_box.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

using platform::MessageResult;
using platform::WindowHandle;
using platform::WindowSystem;

constexpr std::uint32_t WM_CTLCOLOREDIT = platform::WM_CTLCOLOREDIT;
constexpr std::uint32_t WM_CTLCOLORSTATIC = platform::WM_CTLCOLORSTATIC;

Dialog* bound_object(WindowHandle window) {
  return reinterpret_cast<Dialog*>(WindowSystem::current().user_data(window));
}

int signed_word(platform::LParam value, int shift) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((static_cast<std::uintptr_t>(value) >> shift) & 0xFFFF));
}

}  // namespace

bool Dialog::get_client_rect(platform::Rect& out) {
  const std::optional<platform::Rect> client = WindowSystem::current().client_rect(window_);
  if (!client) return false;
  out = *client;
  return true;
}

int Dialog::layout(int width, int /*height*/) { return width; }

void Dialog::on_size() { layout(0, 0); }

const platform::Brush* Dialog::on_ctl_color(platform::DeviceContext*, WindowHandle, int) { return nullptr; }

void Dialog::get_control_rect(int id, platform::Rect& out) {
  WindowSystem& system = WindowSystem::current();
  const std::optional<platform::Rect> rect = system.window_rect(item(id));
  if (!rect) return;
  const std::optional<platform::Point> top_left = system.screen_to_client(window_, {rect->left, rect->top});
  const std::optional<platform::Point> bottom_right = system.screen_to_client(window_, {rect->right, rect->bottom});
  if (!top_left || !bottom_right) return;
  out = {top_left->x, top_left->y, bottom_right->x, bottom_right->y};
}

MessageResult Dialog::on_message(std::uint32_t, platform::WParam, platform::LParam) { return 0; }

void Dialog::on_paint(platform::DeviceContext&) {}

int Dialog::on_back_key(platform::WParam, platform::LParam) { return 0; }

int Dialog::on_command(int id, int /*code*/) {
  switch (id) {
    case platform::IDOK:
      platform::end_dialog(window_, platform::IDOK);
      return 1;
    case platform::IDCANCEL:
      platform::end_dialog(window_, platform::IDCANCEL);
      return 1;
    case kHelpCommand:
      on_help();
      return 1;
    default:
      return 0;
  }
}

int Dialog::on_init_dialog() {
  WindowSystem& system = WindowSystem::current();
  if (menu_bar_id_ != 0) {
    menu_bar_ = create_menu_bar(localizer(), window_, menu_bar_id_, SHCMBF_HMENU);
    if (menu_bar_) {
      system.show_window(menu_bar_, platform::SW_SHOW);
      system.set_window_pos(menu_bar_, platform::HWND_TOP, 0, 0, 0, 0,
                            platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOACTIVATE);
    }
  }
  platform::init_full_screen_dialog(window_, platform::SHIDIM_FLAGS,
                                    menu_bar_id_ != 0 ? kFullScreenWithMenuBar : kFullScreenEmptyMenu);
  return 0;
}

int Dialog::on_destroy() { return 0; }

int Dialog::on_notify(int, const platform::NotifyHeader&) { return 0; }

int Dialog::on_hscroll(int, int, WindowHandle) { return 0; }

int Dialog::on_help() { return 0; }

int Dialog::on_lbutton_down(platform::WParam, int, int) { return 0; }

MessageResult Dialog::dialog_proc(WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                  platform::LParam lparam) {
  if (message == platform::WM_INITDIALOG) {
    WindowSystem::current().set_user_data(window, static_cast<std::uintptr_t>(lparam));
    Dialog* object = bound_object(window);
    if (object == nullptr) return 0;
    object->bind(window);
    return object->on_init_dialog();
  }
  Dialog* object = bound_object(window);
  return object != nullptr ? object->dispatch(message, wparam, lparam) : 0;
}

MessageResult Dialog::page_proc(WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                platform::LParam lparam) {
  if (message == platform::WM_INITDIALOG) {
    const auto* page = reinterpret_cast<const platform::PropertySheetPage*>(lparam);
    return dialog_proc(window, message, wparam, page != nullptr ? page->parameter : 0);
  }
  return dialog_proc(window, message, wparam, lparam);
}

MessageResult Dialog::dispatch(std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
  switch (message) {
    case platform::WM_DESTROY:
      on_destroy();
      return 0;
    case platform::WM_SIZE:
      on_size();
      return 0;
    case platform::WM_PAINT: {
      platform::DeviceContext dc = platform::window_context(window_);
      on_paint(dc);
      return 0;
    }
    case platform::WM_NOTIFY: {
      const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lparam);
      if (header != nullptr) on_notify(static_cast<int>(wparam), *header);
      return 0;
    }
    case platform::WM_HELP:
      on_help();
      return 0;
    case platform::WM_COMMAND:
      on_command(platform::low_word(wparam), platform::high_word(wparam));
      return 0;
    case platform::WM_HSCROLL:
      on_hscroll(platform::low_word(wparam), platform::high_word(wparam), WindowHandle{static_cast<std::uint32_t>(lparam)});
      return 0;
    case platform::WM_LBUTTONDOWN:
      on_lbutton_down(wparam, signed_word(lparam, 0), signed_word(lparam, 16));
      return on_message(message, wparam, lparam);
    case platform::WM_HOTKEY:
      if (platform::high_word(static_cast<platform::WParam>(lparam)) == kBackKeyHotKey) on_back_key(wparam, lparam);
      return 0;
    default:
      break;
  }
  if (message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC) {
    const platform::Brush* brush = on_ctl_color(reinterpret_cast<platform::DeviceContext*>(wparam),
                                                WindowHandle{static_cast<std::uint32_t>(lparam)},
                                                static_cast<int>(message - WM_CTLCOLOREDIT));
    return reinterpret_cast<MessageResult>(brush);
  }
  return on_message(message, wparam, lparam);
}

std::intptr_t Dialog::run_modal(WindowHandle parent, int dialog_id, std::uint32_t menu_bar_id) {
  menu_bar_id_ = menu_bar_id;
  const std::optional<platform::DialogTemplate> own = own_dialog_template(dialog_id);
  if (!own) return platform::kDialogFailed;
  const std::intptr_t result = localizer().dialog_box(*own, parent, &Dialog::dialog_proc, reinterpret_cast<platform::LParam>(this));
  window_ = {};
  menu_bar_ = {};
  return result;
}

WindowHandle Dialog::item(int id) const { return window_ ? platform::dialog_item(window_, id) : WindowHandle{}; }

void Dialog::set_item_text(int id, std::u16string_view text) const {
  if (window_) platform::set_dialog_item_text(window_, id, text);
}

void Dialog::enable_item(int id, bool enable) const {
  if (const WindowHandle control = item(id)) WindowSystem::current().enable_window(control, enable);
}

void Dialog::show_item(int id, bool show) const {
  if (const WindowHandle control = item(id)) WindowSystem::current().show_window(control, show ? platform::SW_SHOW : platform::SW_HIDE);
}

MessageResult Dialog::send_item(int id, std::uint32_t message, platform::WParam wparam, platform::LParam lparam) const {
  const WindowHandle control = item(id);
  return control ? WindowSystem::current().send_message(control, message, wparam, lparam).result : 0;
}

}  // namespace ductra
