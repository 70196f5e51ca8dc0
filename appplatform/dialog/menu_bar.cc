#include "appplatform/dialog/menu_bar.h"

#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/dialog/window_records.h"
#include "appplatform/draw/color.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

struct Bar {
  std::vector<SoftKey> keys;
  int pressed = -1;
};

WindowRecords<Bar>& bars() {
  static WindowRecords<Bar> all;
  return all;
}

Bar* find_bar(WindowHandle window) { return bars().find(window); }

Rect key_rect(const Rect& client, std::size_t count, std::size_t index) {
  const int width = client.width() / static_cast<int>(count);
  return {client.left + static_cast<int>(index) * width, client.top, client.left + static_cast<int>(index + 1) * width,
          client.bottom};
}

int key_at(WindowHandle window, const Bar& bar, Point at) {
  const Rect client = WindowSystem::current().client_rect(window).value_or(Rect{});
  for (std::size_t i = 0; i < bar.keys.size(); ++i) {
    if (key_rect(client, bar.keys.size(), i).contains(at)) return static_cast<int>(i);
  }
  return -1;
}

void paint_bar(WindowHandle window, const Bar& bar) {
  WindowSystem& system = WindowSystem::current();
  system.end_paint(window, system.begin_paint(window));
  DeviceContext dc = window_context(window);
  const Rect client = system.client_rect(window).value_or(Rect{});
  dc.fill_rect(client, sys_color_brush(COLOR_BTNFACE));
  dc.fill_rect({client.left, client.top, client.right, client.top + 1}, sys_color_brush(COLOR_WINDOWFRAME));
  dc.select_font(system_font());
  dc.set_bk_mode(TRANSPARENT);
  for (std::size_t i = 0; i < bar.keys.size(); ++i) {
    Rect key = key_rect(client, bar.keys.size(), i);
    if (static_cast<int>(i) == bar.pressed) dc.fill_rect(key, sys_color_brush(COLOR_HIGHLIGHT));
    dc.set_text_color(sys_color(static_cast<int>(i) == bar.pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    dc.draw_text(bar.keys[i].text, key, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void set_pressed(WindowHandle window, Bar& bar, int key) {
  if (bar.pressed == key) return;
  bar.pressed = key;
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
}

MessageResult bar_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  Bar* bar = find_bar(window);
  if (!bar) return system.default_procedure(window, message, wparam, lparam);
  switch (message) {
    case WM_PAINT:
      paint_bar(window, *bar);
      return 0;
    case WM_LBUTTONDOWN:
      set_pressed(window, *bar, key_at(window, *bar, param_point(lparam)));
      return 0;
    case WM_LBUTTONUP: {
      const int pressed = bar->pressed;
      const bool same = pressed >= 0 && key_at(window, *bar, param_point(lparam)) == pressed;
      set_pressed(window, *bar, -1);
      if (same) system.send_message(system.get_window(window, GW_OWNER), WM_COMMAND, make_wparam(bar->keys[pressed].command, 0), 0);
      return 0;
    }
    case WM_DESTROY:
      bars().forget(window);
      return 0;
    default:
      return system.default_procedure(window, message, wparam, lparam);
  }
}

}  // namespace

WindowHandle create_menu_bar(WindowHandle owner, std::span<const SoftKey> keys) {
  WindowSystem& system = WindowSystem::current();
  if (!system.is_window(owner)) return {};
  system.register_class({kMenuBarClass, bar_procedure});
  const ScreenState screen = system.screen();
  CreateWindowParams params;
  params.class_name = kMenuBarClass;
  params.style = WS_POPUP;
  params.ex_style = WS_EX_NOACTIVATE;
  params.y = screen.height - kMenuBarHeight;
  params.width = screen.width;
  params.height = kMenuBarHeight;
  params.parent = owner;
  const WindowHandle bar = system.create_window(params);
  if (!bar) return {};
  bars().put(bar, Bar{std::vector<SoftKey>(keys.begin(), keys.end())});
  system.show_window(bar, SW_SHOWNOACTIVATE);
  return bar;
}

std::vector<SoftKey> menu_bar_keys(WindowHandle bar) {
  const Bar* found = find_bar(bar);
  return found != nullptr ? found->keys : std::vector<SoftKey>{};
}

std::vector<Rect> menu_bar_key_rects(WindowHandle bar) {
  std::vector<Rect> out;
  const Bar* found = find_bar(bar);
  WindowSystem& system = WindowSystem::current();
  const auto client = system.client_rect(bar);
  const auto origin = system.client_to_screen(bar, {0, 0});
  if (!found || !client || !origin) return out;
  for (std::size_t i = 0; i < found->keys.size(); ++i) {
    out.push_back(key_rect(*client, found->keys.size(), i).offset(origin->x, origin->y));
  }
  return out;
}

}  // namespace ductra::platform
