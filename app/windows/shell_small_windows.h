// The small windows the controller drives (controller_parts.h): the prompt
// bubble, the tool window and the key row, with the screen values they are
// placed by; and the bubble as result delivery shows it. The tool window's place is kept in the controller's settings
// record; the bubble's colour answers come through the registry given.
// UI thread only.
#pragma once

#include "app/common/settings.h"
#include "app/delivery/delivery_interfaces.h"
#include "app/shell/controller_parts.h"
#include "app/shell/screen_info.h"
#include "app/shell/screen_platform.h"
#include "app/windows/keyboard_window.h"
#include "app/windows/prompt_window.h"
#include "app/windows/tool_window.h"

namespace ductra {

struct SmallWindowsHost {
  platform::WindowSystem& windows;
  platform::WindowHandle shell_window;
  const ScreenPlatform& screen_platform;
  ScreenInfo& screen;  // the program keeps one per run, over its screen platform
  Settings& settings;  // the controller's record: movable mode and the saved places
  CtlColorRegistry& colours;
  int os_major_version = 5;
};

class ShellSmallWindows final : public SmallWindows, public PromptBubble {
 public:
  explicit ShellSmallWindows(SmallWindowsHost host);

  void create_prompt() override;
  void destroy_prompt() override;
  void hide_prompt() override;
  platform::MessageResult prompt_colour(platform::WParam wparam, platform::LParam lparam) override;
  void create_tool_window() override;
  void destroy_tool_window() override;
  void save_tool_position(bool rotated) override;
  platform::Point tool_top_left() override;
  bool tool_is_movable() override;
  void set_tool_expanded(bool expanded) override;
  void refresh_tool_window() override;
  void update_tool_window(std::u16string_view label, bool active) override;
  void create_keyboard() override;
  void destroy_keyboard() override;
  void show_keyboard(bool enabled, bool shown) override;
  void init_screen_metrics() override;
  void refresh_screen_metrics() override;

  // PromptBubble.
  void show_prompt(std::u16string_view text, platform::ColorRef colour, const std::optional<InkBox>& ink_box) override;

  PromptWindow& prompt() { return prompt_; }
  ToolWindow& tool() { return tool_; }
  KeyboardWindow& keyboard() { return keyboard_; }

 private:
  SmallWindowsHost host_;
  PromptWindow prompt_;
  ToolWindow tool_;
  KeyboardWindow keyboard_;
};

}  // namespace ductra
