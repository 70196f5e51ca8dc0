#include "app/shell/controller.h"

#include <string>

#include "app/shell/shell_messages.h"
#include "app/shell/shell_window.h"
#include "appplatform/clock.h"
#include "appplatform/wait.h"

namespace ductra {
namespace {

using platform::LParam;
using platform::MessageResult;
using platform::WParam;

constexpr int kIntelligentMode = 3;
constexpr int kLetterByLetterMode = 2;
constexpr int kJoinedMode = 0;
constexpr char16_t kBackspace = 8;
constexpr int kLastRepeatTick = 17;
// A hiding this soon after the first showing is the panel settling: it is
// shown again.
constexpr std::uint32_t kShowSettleMs = 100;
// The sheet's box when it is running already.
constexpr int kStringSheetRunning = 46;

}  // namespace

int backspaces_at_repeat(int tick) { return tick <= 5 ? 1 : (tick - 5) / 3 + 1; }

Controller::Controller(platform::WindowSystem& windows, platform::WindowHandle shell_window, Engine& engine,
                       CoreFiles files, ControllerParts parts)
    : windows_(windows),
      shell_window_(shell_window),
      engine_(engine),
      parts_(parts),
      core_shell_(windows, shell_window, parts.errors, parts.input_panel) {
  parts_.settings.set_default_settings();
  core_ = std::make_unique<CCore>(engine, core_shell_, std::move(files));
  parts_.results.attach(this);
  parts_.configurations.build_configurations();
  parts_.windows.create_prompt();
  parts_.windows.init_screen_metrics();
  if (!parts_.configurations.load_configurations()) parts_.configurations.make_default_configurations();
  parts_.settings.load_settings();
  parts_.input_panel.set_language(parts_.settings.language());
  parts_.windows.create_tool_window();
  parts_.windows.create_keyboard();
  publish_controller(this);
  parts_.results.post_mode_indicator(active_);
  tick_timer_ = windows_.set_timer(shell_window_, kTickTimer, kTickMs);
  if (parts_.settings.recognize_mode() == kIntelligentMode) {
    parts_.segmenter.create_or_limit_segmenter(parts_.settings.time_out());
  }
  build_ink_layer();
  const std::optional<InputPanel::State> state = parts_.input_panel.query_panel();
  set_active(state && state->ours);
  if (active_) switch_configuration();
}

Controller::~Controller() {
  publish_controller(nullptr);
  parts_.results.attach(nullptr);
  if (tick_timer_ != 0) windows_.kill_timer(shell_window_, kTickTimer);
  parts_.segmenter.destroy_segmenter();
  parts_.activity_event.reset();
  parts_.windows.destroy_prompt();
  parts_.configurations.destroy_configurations();
  parts_.windows.destroy_keyboard();
  parts_.windows.destroy_tool_window();
  ink_.reset();
  core_.reset();
}

void Controller::build_ink_layer() {
  ink_.reset();
  ink_ = parts_.ink_layers.make_ink_layer(*core_, parts_.settings.pen_width(), parts_.settings.pen_color(),
                                          parts_.settings.recognize_mode() == kIntelligentMode);
}

MessageResult Controller::handle_message(platform::WindowHandle window, std::uint32_t message, WParam wparam,
                                         LParam lparam) {
  if (message == platform::WM_CTLCOLORSTATIC) {
    if (const MessageResult colour = parts_.windows.prompt_colour(wparam, lparam); colour != 0) return colour;
  }
  switch (message) {
    case platform::WM_CLOSE:
      on_close();
      return 0;
    case platform::WM_SETTINGCHANGE:
      if (wparam == platform::SETTINGCHANGE_RESET) on_setting_change();
      return 0;
    case platform::WM_NOTIFY:
      on_notify(lparam);
      return 0;
    case platform::WM_TIMER:
      on_timer(wparam);
      return 0;
    case WM_DUCTRA_NEXT_CONFIGURATION:
      if (wparam == 0 && lparam == kNextConfigurationPressed) next_configuration();
      return 0;
    case WM_DUCTRA_RECOGNIZED:
      parts_.results.deliver_result();
      return 0;
    case WM_DUCTRA_STROKE_ERROR:
      submit_ink();
      return 0;
    case WM_DUCTRA_VARIANTS:
      if (lparam != 0) show_variants(*reinterpret_cast<crResultChoice*>(lparam));
      return 0;
    case WM_DUCTRA_INK:
      on_ink(wparam, lparam);
      return 0;
    case WM_DUCTRA_KEY:
      on_key(static_cast<char16_t>(wparam & 0xFFFF));
      return 0;
    case WM_DUCTRA_TOGGLE_KEYBOARD:
      toggle_keyboard();
      return 0;
    case WM_DUCTRA_REPEAT_START:
      start_key_repeat();
      return 0;
    case WM_DUCTRA_REPEAT_STOP:
      stop_key_repeat();
      return 0;
    case WM_QUILLPAD_SHOWING:
      on_showing();
      return 0;
    case WM_QUILLPAD_HIDING:
      on_hiding();
      return 0;
    case WM_QUILLPAD_OPTIONS:
      if (modal_box_ == 0) open_settings(platform::WindowHandle{static_cast<std::uint32_t>(wparam)});
      return 0;
    case WM_QUILLPAD_DESELECT:
      on_deselect();
      return 0;
    case WM_QUILLPAD_RELEASED:
      return 0;
    default:
      return windows_.default_procedure(window, message, wparam, lparam);
  }
}

void Controller::on_timer(std::uintptr_t id) {
  switch (id) {
    case kTickTimer:
      on_tick();
      break;
    case kPromptTimer:
      windows_.kill_timer(shell_window_, kPromptTimer);
      parts_.windows.hide_prompt();
      break;
    case kModeThreeTimer:
      windows_.kill_timer(shell_window_, kModeThreeTimer);
      if (ink_) {
        ink_->erase_all();
        ink_->set_capture_mode(kCaptureOn);
        ink_->count_pen_awaited();
      }
      break;
    case kKeyRepeatTimer:
      on_key_repeat();
      break;
    default:
      break;
  }
}

// While the alternatives menu or a box is open the engine thread may be
// inside a recognition waiting for the UI thread; ink handed over then
// would wait for the semaphore that recognition holds.
bool Controller::result_may_wait() const { return variants_menu_open_ || modal_box_ > 0; }

void Controller::on_tick() {
  const platform::WindowHandle foreground = windows_.foreground_window();
  if (!ink_) return;
  const int mode = ink_->capture_mode();
  if (mode == kCaptureWriting || mode == kCaptureRecognising) signal_activity();
  if (mode == kCaptureOn && foreground) target_window_ = foreground;
  if (result_may_wait()) return;
  const bool pending = core_->is_busy();
  if (ink_->pen_timed_out(parts_.settings.time_out(), pending)) {
    submit_ink();
  } else {
    ink_->hold_test(pending);
  }
}

void Controller::on_key_repeat() {
  parts_.results.send_units(std::u16string(backspaces_at_repeat(key_repeat_count_), kBackspace));
  if (key_repeat_count_ < kLastRepeatTick) ++key_repeat_count_;
}

void Controller::submit_ink() {
  if (!core_->take_semaphore()) return;
  if (ink_) ink_->set_capture_mode(kCaptureRecognising);
  const int mode = parts_.settings.recognize_mode();
  const bool mode_two = mode == kLetterByLetterMode;
  bool long_limit = true;
  bool dictionary = true;
  if (!mode_two) {
    long_limit = mode == kJoinedMode;
    if (!long_limit && parts_.configurations.has_current()) {
      dictionary = parts_.configurations.current_uses_dictionary();
    }
  }
  core_->set_params(parts_.settings.use_prompt(), long_limit, dictionary, mode_two);
  if (ink_) ink_->add_strokes_to(*core_);
  core_->request();
  platform::sleep_for(0);
}

void Controller::next_configuration() {
  parts_.configurations.select_next();
  switch_configuration();
}

void Controller::signal_activity() {
  if (parts_.activity_event) parts_.activity_event->set();
}

void Controller::set_active(bool active) {
  if (active) switch_configuration();
  active_ = active && parts_.configurations.has_current();
  refresh_indicator();
  if (!active) stop_key_repeat();
  if (ink_) ink_->set_capture_mode(active_ ? kCaptureOn : kCaptureStopped);
}

void Controller::open_settings(platform::WindowHandle parent) {
  if (parts_.sheet.sheet_is_open() && !parts_.sheet.close_sheet()) return;
  set_active(false);
  switch (parts_.sheet.run_sheet(parent ? parent : shell_window_)) {
    case SheetControl::Result::ok:
      apply_settings();
      break;
    case SheetControl::Result::already_running:
      parts_.errors.show_error_box(kStringSheetRunning, kStringRestartAdvice);
      break;
    case SheetControl::Result::cancelled:
      break;
  }
  const std::optional<InputPanel::State> state = parts_.input_panel.query_panel();
  if (state && state->ours) {
    set_active(state->shown);
  } else {
    windows_.post_message(shell_window_, platform::WM_CLOSE, 0, 0);
  }
}

bool Controller::apply_settings() {
  std::uint32_t charsets = 0;
  if (engine_.char_set_count(&charsets) != 0) return false;
  parts_.configurations.save_configurations();
  parts_.windows.save_tool_position(false);
  parts_.settings.save_settings();
  build_ink_layer();
  if (parts_.settings.recognize_mode() == kIntelligentMode) {
    parts_.segmenter.create_or_limit_segmenter(parts_.settings.time_out());
  } else {
    parts_.segmenter.destroy_segmenter();
  }
  if (parts_.windows.tool_is_movable() != parts_.settings.large_moving_icon()) {
    parts_.windows.destroy_tool_window();
    parts_.windows.create_tool_window();
  }
  parts_.results.post_mode_indicator(active_);
  switch_configuration();
  return true;
}

int Controller::switch_configuration() {
  if (switching_configuration_) return 0;
  switching_configuration_ = true;
  const std::optional<int> capture = stop_capture();
  const int status = parts_.configurations.apply_configuration();
  restore_capture(capture);
  switching_configuration_ = false;
  refresh_indicator();
  return status;
}

void Controller::refresh_indicator() { parts_.configurations.refresh_indicator(active_, key_row_); }

void Controller::show_options_menu_at(platform::Point where) {
  // The separate-letters entry is offered in recognition modes 0 and 1 only.
  const bool offer_separate_letters = parts_.settings.recognize_mode() < kLetterByLetterMode;
  const std::optional<int> capture = stop_capture();
  const int chosen =
      parts_.configurations.run_options_menu(shell_window_, where, offer_separate_letters, separate_letters_);
  restore_capture(capture);
  if (chosen >= kOptionsFirstConfigurationItem) {
    parts_.configurations.select(static_cast<std::uint32_t>(chosen - kOptionsFirstConfigurationItem));
    switch_configuration();
  } else if (chosen == kOptionsSettingsItem) {
    open_settings({});
  } else if (chosen == kOptionsSeparateLettersItem) {
    separate_letters_ = !separate_letters_;
    core_->set_variants_off(separate_letters_);
  }
}

std::optional<int> Controller::stop_capture() {
  if (!ink_) return std::nullopt;
  const int mode = ink_->capture_mode();
  ink_->set_capture_mode(kCaptureStopped);
  return mode;
}

void Controller::restore_capture(std::optional<int> mode) {
  if (ink_ && mode) ink_->set_capture_mode(*mode);
}

void Controller::on_showing() {
  if (modal_box_ > 0 || dialog_open_) return;
  if (!first_show_) {
    set_active(true);
    announce_pen_awaited();
    return;
  }
  if (++show_counter_ == 1) {
    set_active(true);
    if (!parts_.input_panel.panel_is_shown()) show_time_ = platform::tick_count();
    first_show_ = false;
    announce_pen_awaited();
  }
  --show_counter_;
}

// The showing is the last step of being switched on: the start-up, switched
// on already, stops capture once more to take up its configuration, so only
// from here does the application wait for the pen with nothing left to do.
void Controller::announce_pen_awaited() {
  if (ink_ && active_) ink_->count_pen_awaited();
}

void Controller::on_hiding() {
  if (platform::tick_count() - show_time_ < kShowSettleMs) {
    parts_.input_panel.show_panel(true);
  } else {
    set_active(false);
  }
}

void Controller::on_deselect() {
  set_active(false);
  if (!parts_.sheet.sheet_is_open() && !variants_menu_open_ && windows_.is_window(shell_window_)) {
    windows_.send_message(shell_window_, platform::WM_CLOSE, 0, 0);
  }
}

void Controller::on_close() {
  if (!windows_.is_window(shell_window_)) return;
  parts_.configurations.save_configurations();
  parts_.windows.save_tool_position(false);
  parts_.settings.save_settings();
  windows_.post_message(shell_window_, platform::WM_QUIT, 0, 0);
}

void Controller::on_setting_change() {
  parts_.windows.refresh_screen_metrics();
  const bool was_active = active_;
  set_active(false);
  build_ink_layer();
  parts_.windows.save_tool_position(true);
  parts_.windows.destroy_tool_window();
  parts_.windows.create_tool_window();
  set_active(was_active);
}

void Controller::on_notify(LParam lparam) {
  const auto* header = reinterpret_cast<const NotifyHeader*>(lparam);
  if (header == nullptr || header->code != kNotifyTapAndHold || key_repeat_) return;
  show_options_menu_at(parts_.windows.tool_top_left());
}

void Controller::on_ink(WParam kind, LParam lparam) {
  switch (kind) {
    case kInkOneUnit:
      if (ink_) ink_->erase_all();
      parts_.results.send_units(std::u16string(1, static_cast<char16_t>(lparam)));
      if (ink_) ink_->count_pen_awaited();
      break;
    case kInkString:
      if (lparam != 0) parts_.results.send_units(reinterpret_cast<const char16_t*>(lparam));
      break;
    case kInkStrokesDone:
      parts_.results.take_mode_three_strokes();
      break;
    default:
      break;
  }
}

void Controller::on_key(char16_t unit) {
  if (unit != kBackspace) toggle_keyboard();
  parts_.results.send_units(std::u16string(1, unit));
}

void Controller::toggle_keyboard() {
  key_row_ = !key_row_;
  parts_.windows.show_keyboard(!parts_.windows.tool_is_movable() && active_, key_row_);
  parts_.windows.set_tool_expanded(key_row_);
  parts_.windows.refresh_tool_window();
}

void Controller::start_key_repeat() {
  key_repeat_count_ = 0;
  windows_.set_timer(shell_window_, kKeyRepeatTimer, kKeyRepeatMs);
  key_repeat_ = true;
}

void Controller::stop_key_repeat() {
  windows_.kill_timer(shell_window_, kKeyRepeatTimer);
  key_repeat_count_ = 0;
  key_repeat_ = false;
}

void Controller::show_variants(crResultChoice& choice) {
  variants_menu_open_ = true;
  parts_.results.show_variants_menu(choice);
  variants_menu_open_ = false;
}

}  // namespace ductra
