// The controller: the application's state, owned by the UI thread and
// reached by everything else through messages to the shell window, whose
// handler it is.
//
// It owns the engine client and the ink layer and drives the other parts
// (controller_parts.h) by the settings: it activates and deactivates
// recognition as the input panel shows and hides, hands the ink to the
// engine client when the pen has rested (timer 1, every 100 ms), repeats
// backspace while the key is held (timer 4), hides the prompt (timer 2),
// clears mode-three ink (timer 3), applies new settings, and on
// WM_QUILLPAD_DESELECT saves everything and ends the message loop.
//
// Built after the shell window exists; while it lives it is the process's
// published controller (shell_window.h). The destructor takes everything
// down in the reverse order, the engine client last.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/shell/ccore.h"
#include "app/shell/controller_parts.h"
#include "app/shell/shell_window_core.h"
#include "appplatform/window_system.h"

namespace ductra {

// The shell window's timers.
inline constexpr std::uintptr_t kTickTimer = 1;        // every 100 ms
inline constexpr std::uintptr_t kPromptTimer = 2;      // hides the prompt
inline constexpr std::uintptr_t kModeThreeTimer = 3;   // clears mode-three ink
inline constexpr std::uintptr_t kKeyRepeatTimer = 4;   // backspace repeat
inline constexpr std::uint32_t kTickMs = 100;
inline constexpr std::uint32_t kKeyRepeatMs = 200;

// Ink layer capture modes the controller sets.
inline constexpr int kCaptureOn = 0;
inline constexpr int kCaptureWriting = 1;
inline constexpr int kCaptureStopped = 2;
inline constexpr int kCaptureRecognising = 3;

// The backspaces timer 4 sends at its `tick` (0 for the first): one for the
// first eight, then one more every three ticks, five at most.
int backspaces_at_repeat(int tick);

class Controller final : public ResultHost {
 public:
  Controller(platform::WindowSystem& windows, platform::WindowHandle shell_window, Engine& engine,
             CoreFiles files, ControllerParts parts);
  ~Controller() override;
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  platform::MessageResult handle_message(platform::WindowHandle window, std::uint32_t message,
                                         platform::WParam wparam, platform::LParam lparam);
  void on_timer(std::uintptr_t id);
  void submit_ink();
  void set_active(bool active);
  void open_settings(platform::WindowHandle parent);
  // Takes over the settings after the sheet closed with OK; false (nothing
  // changed) when the engine cannot be asked for its charsets.
  bool apply_settings();

  // Makes the current configuration the engine's, with capture stopped
  // meanwhile, then refreshes the indicator; the engine's status. A call
  // made while one runs (from a message it lets through) returns 0 at once.
  int switch_configuration();
  void refresh_indicator();
  // The options menu at `where`: a configuration chosen becomes current,
  // the settings open, or the separate-letters mode is turned over.
  void show_options_menu_at(platform::Point where);
  bool separate_letters() const { return separate_letters_; }

  // ResultHost.
  bool is_active() const override { return active_; }
  CCore& core() { return *core_; }
  std::u16string_view result_text() const override { return core_->result_text(); }
  InkLayer* ink_layer() override { return ink_.get(); }
  platform::WindowHandle shell_window() const override { return shell_window_; }
  platform::WindowHandle target_window() const override { return target_window_; }
  void next_configuration() override;
  void signal_activity() override;

  // Error boxes and dialogs pause the controller while they are open.
  void set_modal_box(bool open) { modal_box_ += open ? 1 : -1; }
  void set_dialog_open(bool open) { dialog_open_ = open; }

 private:
  void build_ink_layer();
  void on_tick();
  void on_key_repeat();
  void on_showing();
  void announce_pen_awaited();
  void on_hiding();
  void on_deselect();
  void on_close();
  void on_setting_change();
  void on_notify(platform::LParam lparam);
  void on_ink(platform::WParam kind, platform::LParam lparam);
  void on_key(char16_t unit);
  void toggle_keyboard();
  void start_key_repeat();
  void stop_key_repeat();
  void show_variants(crResultChoice& choice);
  bool result_may_wait() const;
  std::optional<int> stop_capture();
  void restore_capture(std::optional<int> mode);

  platform::WindowSystem& windows_;
  const platform::WindowHandle shell_window_;
  Engine& engine_;
  ControllerParts parts_;
  ShellWindowCore core_shell_;
  std::unique_ptr<CCore> core_;
  std::unique_ptr<InkLayer> ink_;

  bool dialog_open_ = false;
  bool key_repeat_ = false;
  int key_repeat_count_ = 0;
  platform::WindowHandle target_window_;
  std::uintptr_t tick_timer_ = 0;
  bool active_ = false;
  bool first_show_ = true;
  std::uint32_t show_time_ = 0;
  int modal_box_ = 0;
  std::atomic<int> show_counter_{0};
  bool variants_menu_open_ = false;
  bool key_row_ = false;
  bool switching_configuration_ = false;
  bool separate_letters_ = false;
};

}  // namespace ductra
