// The parts of the application this build does not have yet, standing in
// their interfaces so the program runs without them: no tool window, key
// row or prompt bubble (so the calculator mode's answer shows no bubble);
// no settings sheet; no word dialog for the user dictionaries. Each does
// nothing and says so through its answers (no sheet runs, no word is
// edited); none pretends to have done work. Each is replaced by the real part as it lands.
#pragma once

#include "app/delivery/delivery_interfaces.h"
#include "app/shell/controller_parts.h"

namespace ductra {

class NoSmallWindows final : public SmallWindows {
 public:
  void create_prompt() override {}
  void destroy_prompt() override {}
  void hide_prompt() override {}
  platform::MessageResult prompt_colour(platform::WParam, platform::LParam) override { return 0; }
  void create_tool_window() override {}
  void destroy_tool_window() override {}
  void save_tool_position(bool) override {}
  platform::Point tool_top_left() override { return {}; }
  bool tool_is_movable() override { return false; }
  void set_tool_expanded(bool) override {}
  void refresh_tool_window() override {}
  void update_tool_window(std::u16string_view, bool) override {}
  void create_keyboard() override {}
  void destroy_keyboard() override {}
  void show_keyboard(bool, bool) override {}
  void init_screen_metrics() override {}
  void refresh_screen_metrics() override {}
};

class NoPromptBubble final : public PromptBubble {
 public:
  void show_prompt(std::u16string_view, platform::ColorRef, const std::optional<InkBox>&) override {}
};

class NoSettingsSheet final : public SheetControl {
 public:
  bool sheet_is_open() override { return false; }
  bool close_sheet() override { return true; }
  Result run_sheet(platform::WindowHandle) override { return Result::cancelled; }
};

}  // namespace ductra
