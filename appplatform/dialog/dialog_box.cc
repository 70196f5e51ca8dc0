#include "appplatform/dialog/dialog_box.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/keyboard_demand.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/dialog/window_records.h"
#include "appplatform/message_box.h"
#include "appplatform/text.h"
#include "appplatform/ui_responder.h"

namespace ductra::platform {
namespace {

struct DialogRecord {
  DialogProcedure procedure = nullptr;
  bool ended = false;
  std::intptr_t result = kDialogFailed;
  bool holds_keyboard = false;
};

WindowRecords<DialogRecord>& dialogs() {
  static WindowRecords<DialogRecord> all;
  return all;
}

DialogRecord* find_dialog(WindowHandle window) { return dialogs().find(window); }

template <typename Visit>
void for_each_child(WindowHandle dialog, Visit visit) {
  WindowSystem& system = WindowSystem::current();
  for (WindowHandle child = system.get_window(dialog, GW_CHILD); child; child = system.get_window(child, GW_HWNDNEXT)) {
    visit(child);
  }
}

// The background first, then the children over it, then what the
// procedure draws.
void paint_dialog(WindowHandle dialog, DialogProcedure procedure) {
  WindowSystem& system = WindowSystem::current();
  const PaintInfo paint = system.begin_paint(dialog);
  DeviceContext dc = window_context(dialog);
  dc.fill_rect(system.client_rect(dialog).value_or(Rect{}), sys_color_brush(COLOR_WINDOW));
  system.end_paint(dialog, paint);
  for_each_child(dialog, [&](WindowHandle child) { system.invalidate_rect(child, std::nullopt, true); });
  procedure(dialog, WM_PAINT, 0, 0);
}

void close_dialog(WindowHandle dialog, DialogRecord& record) {
  record.procedure(dialog, WM_DESTROY, 0, 0);
  for_each_child(dialog, [](WindowHandle child) { forget_child_record(child); });
  if (record.holds_keyboard) release_keyboard();
  dialogs().forget(dialog);
}

MessageResult dialog_window_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  DialogRecord* record = find_dialog(window);
  if (!record) return system.default_procedure(window, message, wparam, lparam);
  switch (message) {
    case WM_PAINT:
      paint_dialog(window, record->procedure);
      return 0;
    case WM_DESTROY:
      close_dialog(window, *record);
      return 0;
    default: {
      const MessageResult answer = record->procedure(window, message, wparam, lparam);
      return answer != 0 ? answer : system.default_procedure(window, message, wparam, lparam);
    }
  }
}

bool make_controls(WindowHandle dialog, const DialogTemplate& dialog_template) {
  WindowSystem& system = WindowSystem::current();
  auto font = create_font(LogFont{dialog_template.font_height, FW_NORMAL, false, false, dialog_template.font_face});
  for (const DialogItem& item : dialog_template.items) {
    CreateWindowParams params;
    params.class_name = item.class_name;
    params.title = item.text;
    params.style = item.style | WS_CHILD | WS_VISIBLE;
    params.x = item.rect.left;
    params.y = item.rect.top;
    params.width = item.rect.width();
    params.height = item.rect.height();
    params.parent = dialog;
    const WindowHandle control = system.create_window(params);
    if (!control) return false;
    ChildRecord& record = child_record(control);
    record.id = item.id;
    record.font = font;
  }
  return true;
}

bool has_edit_field(const DialogTemplate& dialog_template) {
  for (const DialogItem& item : dialog_template.items) {
    if (equal_ignoring_case(item.class_name, kEditClass)) return true;
  }
  return false;
}

WindowHandle first_tab_stop(WindowHandle dialog) {
  WindowSystem& system = WindowSystem::current();
  WindowHandle found;
  for_each_child(dialog, [&](WindowHandle child) {
    const auto info = system.describe(child);
    if (!found && info && (info->style & WS_TABSTOP)) found = child;
  });
  return found;
}

// The controls the tab key visits, in the order they were made: the
// dialog's shown and enabled controls with WS_TABSTOP, and in place of a
// shown child dialog (a sheet's page) the same of its controls.
void collect_tab_stops(WindowHandle dialog, std::vector<WindowHandle>& stops) {
  WindowSystem& system = WindowSystem::current();
  for_each_child(dialog, [&](WindowHandle child) {
    const auto info = system.describe(child);
    if (!info || !info->visible || (info->style & WS_DISABLED)) return;
    if (find_dialog(child)) {
      collect_tab_stops(child, stops);
    } else if (info->style & WS_TABSTOP) {
      stops.push_back(child);
    }
  });
}

// The tab stop after (before) `from`, round the end; the first (last) when
// `from` is none of them; none when the dialog has no tab stop.
WindowHandle next_tab_stop(WindowHandle dialog, WindowHandle from, bool backwards) {
  std::vector<WindowHandle> stops;
  collect_tab_stops(dialog, stops);
  if (stops.empty()) return {};
  const auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) return backwards ? stops.back() : stops.front();
  const std::size_t count = stops.size();
  const std::size_t index = static_cast<std::size_t>(at - stops.begin());
  return stops[(index + (backwards ? count - 1 : 1)) % count];
}

// Whether the shift key is down, as the key messages of this thread's
// dialogs last told it.
thread_local bool shift_held = false;

bool belongs_to(WindowHandle window, WindowHandle dialog) {
  WindowSystem& system = WindowSystem::current();
  for (; window; window = system.parent(window)) {
    if (window == dialog) return true;
  }
  return false;
}

}  // namespace

WindowHandle create_dialog(const DialogTemplate& dialog_template, WindowHandle owner, DialogProcedure procedure,
                           LParam parameter) {
  if (!procedure) return {};
  WindowSystem& system = WindowSystem::current();
  system.register_class({kDialogClass, dialog_window_procedure});
  register_standard_controls(system);
  CreateWindowParams params;
  params.class_name = kDialogClass;
  params.title = dialog_template.title;
  const bool child = (dialog_template.style & WS_CHILD) != 0;
  params.style = (dialog_template.style & ~WS_VISIBLE) | (child ? 0 : WS_POPUP);
  params.x = dialog_template.frame.left;
  params.y = dialog_template.frame.top;
  params.width = dialog_template.frame.width();
  params.height = dialog_template.frame.height();
  params.parent = owner;
  const WindowHandle dialog = system.create_window(params);
  if (!dialog) return {};
  dialogs().put(dialog, DialogRecord{procedure});
  if (!make_controls(dialog, dialog_template)) {
    system.destroy_window(dialog);
    return {};
  }
  if (has_edit_field(dialog_template)) {
    find_dialog(dialog)->holds_keyboard = true;
    hold_keyboard();
  }
  const WindowHandle first = first_tab_stop(dialog);
  if (procedure(dialog, WM_INITDIALOG, first.id, parameter) != 0 && first) system.set_focus(first);
  if (dialog_template.style & WS_VISIBLE) system.show_window(dialog, SW_SHOW);
  return dialog;
}

std::intptr_t dialog_box(const DialogTemplate& dialog_template, WindowHandle owner, DialogProcedure procedure,
                         LParam parameter) {
  WindowSystem& system = WindowSystem::current();
  const WindowHandle dialog = create_dialog(dialog_template, owner, procedure, parameter);
  if (!dialog) return kDialogFailed;
  const bool disabled_owner = owner && system.is_window_enabled(owner);
  if (disabled_owner) system.enable_window(owner, false);
  system.show_window(dialog, SW_SHOW);
  system.set_foreground_window(dialog);
  ui_responder().drive_dialog(dialog);
  Message message;
  for (DialogRecord* record = find_dialog(dialog); record && !record->ended; record = find_dialog(dialog)) {
    const int got = system.get_message(message);
    if (got == 0) system.post_quit_message(static_cast<int>(message.wparam));  // the outer loop ends too
    if (got <= 0) break;
    if (!is_dialog_message(dialog, message)) system.dispatch_message(message);
  }
  const DialogRecord* record = find_dialog(dialog);
  const std::intptr_t result = record && record->ended ? record->result : kDialogFailed;
  if (disabled_owner) system.enable_window(owner, true);
  system.destroy_window(dialog);
  return result;
}

bool end_dialog(WindowHandle dialog, std::intptr_t result) {
  DialogRecord* record = find_dialog(dialog);
  if (!record) return false;
  record->ended = true;
  record->result = result;
  WindowSystem& system = WindowSystem::current();
  system.show_window(dialog, SW_HIDE);
  system.post_message(dialog, WM_NULL, 0, 0);  // wakes the modal loop
  return true;
}

WindowHandle dialog_item(WindowHandle dialog, int id) {
  WindowHandle found;
  for_each_child(dialog, [&](WindowHandle child) {
    if (!found && child_id(child) == id) found = child;
  });
  return found;
}

WindowHandle shown_control(WindowHandle dialog, int id) {
  if (const WindowHandle own = dialog_item(dialog, id)) return own;
  WindowSystem& system = WindowSystem::current();
  WindowHandle found;
  for_each_child(dialog, [&](WindowHandle child) {
    if (!found && find_dialog(child) && system.is_window_visible(child)) found = shown_control(child, id);
  });
  return found;
}

bool set_dialog_item_text(WindowHandle dialog, int id, std::u16string_view text) {
  const WindowHandle control = dialog_item(dialog, id);
  WindowSystem& system = WindowSystem::current();
  if (!control || !system.set_window_text(control, text)) return false;
  system.invalidate_rect(control, std::nullopt, true);
  return true;
}

std::u16string dialog_item_text(WindowHandle dialog, int id) {
  const WindowHandle control = dialog_item(dialog, id);
  return control ? WindowSystem::current().window_text(control) : std::u16string();
}

bool is_dialog_message(WindowHandle dialog, const Message& message) {
  const bool key_down = message.message == WM_KEYDOWN;
  if ((key_down || message.message == WM_KEYUP) && message.wparam == VK_SHIFT) shift_held = key_down;
  if (!key_down || !belongs_to(message.window, dialog)) return false;
  if (message.wparam == VK_TAB) {
    WindowSystem& system = WindowSystem::current();
    if (const WindowHandle next = next_tab_stop(dialog, system.focus(), shift_held)) system.set_focus(next);
    return true;
  }
  if (message.wparam != VK_RETURN && message.wparam != VK_ESCAPE) return false;
  const int command = message.wparam == VK_RETURN ? IDOK : IDCANCEL;
  WindowSystem::current().send_message(dialog, WM_COMMAND, make_wparam(command, BN_CLICKED), 0);
  return true;
}

}  // namespace ductra::platform
