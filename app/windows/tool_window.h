// The tool window: the small always-on-top indicator beside the bottom bar
// that shows the current configuration's label on a coloured square.
// A tap on its tab toggles the punctuation keys, a tap on the label asks
// for the next configuration, a hold asks for the options menu (WM_NOTIFY
// code 1000 sent to the shell window); everything else is posted to the
// shell window as the key row posts it.
//
// In movable mode (the setting large_moving_icon) the user drags it
// anywhere, its place is kept per screen orientation in the settings, and
// when expanded the punctuation keys appear inside it, right of the label.
// Measures are in tool_geometry.h.
//
// A release outside the window is no tap, and a hold asks for the menu
// once per press. UI thread only; the controller owns one and rebuilds it
// when the movable setting changes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "app/common/settings.h"
#include "app/shell/screen_info.h"
#include "app/windows/tool_geometry.h"
#include "app/windows/window_owner.h"
#include "appplatform/draw/icon.h"
#include "appplatform/window_system.h"

namespace ductra {

inline constexpr char16_t kToolWindowClass[] = u"Ductra ToolWindow Class";

struct ToolWindowHost {
  platform::WindowSystem& windows;
  platform::WindowHandle shell_window;  // receives what the window posts and sends
  const ScreenInfo& screen;             // the bottom bar and the dots per inch
  int os_major_version = 5;
};

class ToolWindow {
 public:
  static constexpr std::uintptr_t kTopmostTimer = 1;
  static constexpr std::uint32_t kTopmostMs = 500;
  static constexpr std::uint32_t kHoldMs = 400;
  static constexpr int kDragThreshold = 6;

  explicit ToolWindow(ToolWindowHost host);
  ~ToolWindow();
  ToolWindow(const ToolWindow&) = delete;
  ToolWindow& operator=(const ToolWindow&) = delete;

  // Movable mode and the saved place of the current orientation, then init.
  bool create_from_settings(const Settings& settings);
  // Creates the window (false when it cannot be made) and shows it with the
  // default icon and no label.
  bool init(bool movable, int x, int y);
  // Moves a fixed window to its default place, shows or hides it, and when
  // shown with a new label (at most three units) shows that label.
  void update(std::u16string_view label, bool show);
  void set_visible(bool show);
  void set_expanded(bool expanded) { expanded_ = expanded; }
  // Resizes a movable window to its state and repaints.
  void refresh();
  // In movable mode writes the top-left corner into the pair of the current
  // orientation, or of the other one `after_rotation`.
  void save_position(Settings& settings, bool after_rotation) const;
  void destroy();

  bool is_movable() const { return movable_; }
  platform::Point top_left() const;
  platform::WindowHandle window() const { return window_; }
  int size_index() const { return size_index_; }
  int icon_size() const;
  bool expanded() const { return expanded_; }
  bool visible() const { return visible_; }
  // The icon shown (null for none); the default icon until a label is shown.
  const std::shared_ptr<const platform::Icon>& icon() const { return icon_; }
  bool shows_default_icon() const { return icon_ && icon_ == default_icon_; }

 private:
  friend platform::MessageResult owner_procedure<ToolWindow>(platform::WindowHandle, std::uint32_t, platform::WParam,
                                                      platform::LParam);
  platform::MessageResult handle(std::uint32_t message, platform::WParam wparam, platform::LParam lparam);
  bool create(int x, int y);
  ToolScreen screen_now() const;
  void fit_to_state();
  void on_press(platform::Point at);
  void on_move(platform::Point at);
  void on_release(platform::Point at);
  void begin_press();
  void end_press();
  void drop_at(platform::Point at);
  void tap_at(platform::Point at);
  void request_options_menu();
  void toggle_focus_rect();
  void paint();
  void repaint_now();
  void post(std::uint32_t message, platform::WParam wparam, platform::LParam lparam);

  ToolWindowHost host_;
  bool movable_ = false;
  std::uint32_t press_time_ = 0;
  std::shared_ptr<const platform::Icon> icon_;
  platform::WindowHandle window_;
  std::uintptr_t timer_ = 0;
  std::shared_ptr<const platform::Icon> default_icon_;
  bool pressed_ = false;
  bool dragging_ = false;
  platform::Point start_;
  platform::Rect drag_rect_;
  std::array<char16_t, 4> label_{};
  bool visible_ = false;
  int size_index_ = 0;
  bool expanded_ = false;
  bool press_repeats_ = false;
};

}  // namespace ductra
