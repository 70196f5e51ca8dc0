#include "app/windows/shell_small_windows.h"

#include <algorithm>

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

// Centred on the ink (or the screen), then kept on the screen.
void ShellSmallWindows::show_prompt(std::u16string_view text, platform::ColorRef colour,
                                   const std::optional<InkBox>& ink_box) {
  prompt_.set_text(text);
  prompt_.set_text_colour(colour);
  const platform::Point size = prompt_.size();
  const int width = host_.windows.system_metric(platform::SM_CXSCREEN);
  const int height = host_.windows.system_metric(platform::SM_CYSCREEN);
  const InkBox box = ink_box.value_or(InkBox{0, 0, width, height});
  int x = std::max((box.min_x + box.max_x - size.x) / 2, 0);
  int y = std::max((box.min_y + box.max_y - size.y) / 2, 0);
  if (x + size.x > width) x = width - size.x;
  if (y + size.y > height) y = height - size.y;
  prompt_.move_to({x, y});
  prompt_.show(true);
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
