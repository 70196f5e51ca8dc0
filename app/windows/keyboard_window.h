// The key row: six keys (".", ",", space, ":", "'", backspace) across the
// full width of the screen just above the bottom bar, tapped instead of
// written. It never takes the focus and types nothing itself: each key is
// posted to the shell window (WM_DUCTRA_KEY (character, 0), then
// WM_DUCTRA_REPEAT_STOP), and pressing backspace posts
// WM_DUCTRA_REPEAT_START, after which the controller repeats backspace
// until the stop.
//
// The row holds the pointer from press to release. Once the pen leaves the
// row the repeat is stopped at once, and a release outside the row types
// nothing; so backspace never keeps repeating after the pen has gone.
//
// The controller owns one for the life of the application; created hidden,
// shown by show(). UI thread only.
#pragma once

#include <cstdint>

#include "app/shell/screen_info.h"
#include "app/windows/window_owner.h"
#include "appplatform/window_system.h"

namespace ductra {

inline constexpr char16_t kKeyRowClass[] = u"Ductra KeyboardWindow Class";

class KeyboardWindow {
 public:
  static constexpr int kKeysPerRow = 6;

  // `shell_window` receives the keys; `screen` gives the bottom bar.
  KeyboardWindow(platform::WindowSystem& windows, platform::WindowHandle shell_window, const ScreenInfo& screen);
  ~KeyboardWindow();
  KeyboardWindow(const KeyboardWindow&) = delete;
  KeyboardWindow& operator=(const KeyboardWindow&) = delete;

  // Creates the row, hidden, just above the bottom bar; false when the
  // window cannot be made.
  bool create();
  void destroy();
  // Shown while both are true, hidden otherwise; repainted at once.
  void show(bool enabled, bool shown);

  platform::WindowHandle window() const { return window_; }
  int key_width() const { return key_width_; }
  int key_height() const { return key_height_; }
  bool enabled() const { return enabled_; }

  // The key under a client point (index = column + row x keys per row) and
  // the character each index posts (anything outside 1 to 5 posts ".").
  int key_at(platform::Point client) const;
  static char16_t key_character(int index);

 private:
  friend platform::MessageResult owner_procedure<KeyboardWindow>(platform::WindowHandle, std::uint32_t, platform::WParam,
                                                      platform::LParam);
  platform::MessageResult handle(std::uint32_t message, platform::WParam wparam, platform::LParam lparam);
  void on_press(platform::Point at);
  void on_move(platform::Point at);
  void on_release(platform::Point at);
  void end_repeat();
  void on_rotation();
  void paint();
  void repaint_now();
  bool inside(platform::Point client) const;
  void post(std::uint32_t message, platform::WParam wparam);

  platform::WindowSystem& windows_;
  const platform::WindowHandle shell_window_;
  const ScreenInfo& screen_;
  platform::WindowHandle window_;
  int key_height_ = 20;
  int rows_ = 1;
  int key_width_ = 20;
  int keys_per_row_ = kKeysPerRow;
  bool enabled_ = false;
  bool pressed_ = false;
  bool repeating_ = false;
};

}  // namespace ductra
