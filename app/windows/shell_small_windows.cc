#include "app/windows/shell_small_windows.h"

#include "app/shell/screen_metrics.h"

namespace ductra {

ShellSmallWindows::ShellSmallWindows(SmallWindowsHost host)
    : host_(host),
      prompt_(host.windows, host.colours),
      tool_({host.windows, host.shell_window, host.screen, host.os_major_version}),
      keyboard_(host.windows, host.shell_window, host.screen) {}

void ShellSmallWindows::create_prompt() { prompt_.create(host_.shell_window, {0, 0}, PromptWindow::Look{}, u"", false); }
void ShellSmallWindows::destroy_prompt() { prompt_.destroy(); }
void ShellSmallWindows::hide_prompt() { prompt_.show(false); }

platform::MessageResult ShellSmallWindows::prompt_colour(platform::WParam wparam, platform::LParam lparam) {
  return host_.colours.dispatch(platform::WM_CTLCOLORSTATIC, wparam, lparam);
}

void ShellSmallWindows::create_tool_window() { tool_.create_from_settings(host_.settings); }
void ShellSmallWindows::destroy_tool_window() { tool_.destroy(); }
void ShellSmallWindows::save_tool_position(bool rotated) { tool_.save_position(host_.settings, rotated); }
platform::Point ShellSmallWindows::tool_top_left() { return tool_.top_left(); }
bool ShellSmallWindows::tool_is_movable() { return tool_.is_movable(); }
void ShellSmallWindows::set_tool_expanded(bool expanded) { tool_.set_expanded(expanded); }
void ShellSmallWindows::refresh_tool_window() { tool_.refresh(); }
void ShellSmallWindows::update_tool_window(std::u16string_view label, bool active) { tool_.update(label, active); }

void ShellSmallWindows::create_keyboard() { keyboard_.create(); }
void ShellSmallWindows::destroy_keyboard() { keyboard_.destroy(); }
void ShellSmallWindows::show_keyboard(bool enabled, bool shown) { keyboard_.show(enabled, shown); }

void ShellSmallWindows::init_screen_metrics() { init_screen_globals(host_.screen_platform); }

void ShellSmallWindows::refresh_screen_metrics() {
  init_screen_globals(host_.screen_platform);
  host_.screen.refresh();
}

}  // namespace ductra
