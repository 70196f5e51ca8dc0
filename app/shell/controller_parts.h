// The parts of the application the controller drives, each seen only through
// what the controller asks of it: the settings record and its store, the ink
// layer, the small windows, the configurations, the input panel, the road of
// results to the relay window, the settings sheet and error reporting.
//
// The controller owns none of their logic; it decides when each is asked.
// Each interface is implemented by the part itself; tests put recording
// stand-ins in their place. All calls come on the UI thread unless said.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/shell/ccore.h"
#include "app/shell/exception_info.h"
#include "app/shell/ink_point.h"
#include "app/shell/ink_stroke.h"
#include "appplatform/shared_event.h"
#include "appplatform/geometry.h"
#include "appplatform/window_types.h"

namespace ductra {

// The values of the settings record the controller reads, and its store.
class ControllerSettings {
 public:
  virtual ~ControllerSettings() = default;
  virtual void set_default_settings() = 0;
  virtual void load_settings() = 0;  // from the registry; out-of-range values keep their defaults
  virtual void save_settings() = 0;  // all fifteen values to the registry
  virtual int time_out() const = 0;
  virtual int pen_width() const = 0;
  virtual std::uint32_t pen_color() const = 0;
  virtual int use_prompt() const = 0;
  virtual int recognize_mode() const = 0;  // 0 to 3
  virtual bool space_after_result() const = 0;
  virtual bool large_moving_icon() const = 0;
  virtual std::uint32_t language() const = 0;
};

// A stroke the capture thread handed over in the intelligent mode: its
// points in touch units and the ticks of its first and last point.
struct HandedOverStroke {
  std::vector<InkPoint> points;
  std::uint32_t start_tick = 0;
  std::uint32_t last_tick = 0;
};

// The ink layer: the capture thread and the ink on the screen.
class InkLayer {
 public:
  virtual ~InkLayer() = default;
  // 0 capture, 1 and 3 ink being written or recognised, 2 nothing captured.
  virtual int capture_mode() const = 0;
  virtual void set_capture_mode(int mode) = 0;
  // Whether the pen has rested `time_out_ms` with ink waiting (`pending`).
  virtual bool pen_timed_out(int time_out_ms, bool pending) = 0;
  // The press-and-hold test, run on every tick the pen has not timed out.
  virtual void hold_test(bool pending) = 0;
  virtual void erase_all() = 0;
  // Hands the strokes to the engine client under the layer's lock.
  virtual InkOutcome add_strokes_to(CCore& core) = 0;
  // While the prompt stroke is armed the touch shim signals the end of the
  // next stroke ("prompt stroke ended").
  virtual bool is_prompt_stroke_armed() const = 0;
  virtual void set_prompt_stroke(bool armed) = 0;
  // Draws a frame around `box` (touch units) over the ink, to mark a word.
  virtual void frame_box(const platform::Rect& box) = 0;
  // The handed-over stroke, taken out of its slot (the capture thread may
  // fill the slot again); empty when there is none.
  virtual std::optional<HandedOverStroke> take_handed_over_stroke() = 0;
  // Erases the ink of the `count` oldest strokes and redraws the rest.
  virtual void erase_oldest_strokes(std::uint32_t count) = 0;
  // The box of the ink on the screen, in pixels; empty without ink.
  virtual std::optional<InkBox> ink_box_in_pixels() = 0;
  // Tells whoever feeds the pen that the application waits for it with
  // nothing left to do: once the panel's showing has switched it on, and
  // after each ink, once all the ink gave is typed (or there was nothing to
  // type).
  virtual void count_pen_awaited() = 0;
};

class InkLayerFactory {
 public:
  virtual ~InkLayerFactory() = default;
  virtual std::unique_ptr<InkLayer> make_ink_layer(CCore& core, int pen_width, std::uint32_t pen_color,
                                                   bool intelligent_mode) = 0;
};

// The prompt bubble, the tool window, the keyboard window and the screen.
class SmallWindows {
 public:
  virtual ~SmallWindows() = default;
  virtual void create_prompt() = 0;
  virtual void destroy_prompt() = 0;
  virtual void hide_prompt() = 0;
  // The prompt bubble's answer to WM_CTLCOLORSTATIC; 0 when it is not its own.
  virtual platform::MessageResult prompt_colour(platform::WParam wparam, platform::LParam lparam) = 0;
  virtual void create_tool_window() = 0;  // from the settings
  virtual void destroy_tool_window() = 0;
  // Writes the tool window's position into the settings (`rotated`: after a
  // change of the screen).
  virtual void save_tool_position(bool rotated) = 0;
  virtual platform::Point tool_top_left() = 0;
  virtual bool tool_is_movable() = 0;
  virtual void set_tool_expanded(bool expanded) = 0;
  virtual void refresh_tool_window() = 0;
  // Shows the current configuration's label and whether recognition is on.
  virtual void update_tool_window(std::u16string_view label, bool active) = 0;
  virtual void create_keyboard() = 0;
  virtual void destroy_keyboard() = 0;
  virtual void show_keyboard(bool enabled, bool shown) = 0;
  virtual void init_screen_metrics() = 0;
  virtual void refresh_screen_metrics() = 0;
};

// The ids of the options menu's items.
inline constexpr int kOptionsSettingsItem = -100;
inline constexpr int kOptionsSeparateLettersItem = 1;
inline constexpr int kOptionsFirstConfigurationItem = 1000;  // + the configuration's title

// The user's recognition configurations, the engine's active charsets, the
// indicator in the tool window and the options menu.
class ConfigurationControl {
 public:
  virtual ~ConfigurationControl() = default;
  virtual void build_configurations() = 0;  // from the engine's charsets
  virtual bool load_configurations() = 0;  // from the registry; false when there are none
  virtual void make_default_configurations() = 0;
  virtual bool save_configurations() = 0;  // false when nothing was saved
  virtual void destroy_configurations() = 0;
  virtual bool has_current() = 0;
  virtual bool current_uses_dictionary() = 0;
  virtual void select_next() = 0;
  virtual bool select(std::uint32_t title) = 0;  // false for a title without configuration
  // Makes the current configuration's charsets the engine's and the
  // segmenter's; the engine's status (not 0: the engine keeps its charsets).
  virtual int apply_configuration() = 0;
  // The tool window's label and the key row's visibility.
  virtual void refresh_indicator(bool active, bool key_row) = 0;
  // Shows the options menu at `where` for `owner` and returns the id of the
  // item chosen, 0 when none. The separate-letters item is offered only
  // with `offer_separate_letters`, checked while `separate_letters`.
  virtual int run_options_menu(platform::WindowHandle owner, platform::Point where, bool offer_separate_letters,
                               bool separate_letters) = 0;
};

// The state of the input panel and the localizer's language.
class InputPanel {
 public:
  struct State {
    bool ours = false;   // the current input method is this application's
    bool shown = false;  // the panel is shown
  };
  virtual ~InputPanel() = default;
  virtual std::optional<State> query_panel() = 0;  // empty when the query fails
  virtual bool panel_is_shown() = 0;
  virtual void show_panel(bool on) = 0;
  // Any thread.
  virtual void select_default_input_method() = 0;
  virtual void set_language(std::uint32_t language) = 0;
};

// What the road of results asks of the controller.
class ResultHost {
 public:
  virtual ~ResultHost() = default;
  // The engine client's last result.
  virtual std::u16string_view result_text() const = 0;
  virtual InkLayer* ink_layer() = 0;  // null while there is none
  virtual bool is_active() const = 0;  // recognition is on
  // The shell window: it owns the menus and the timers.
  virtual platform::WindowHandle shell_window() const = 0;
  // The window that had the focus when capture was last on.
  virtual platform::WindowHandle target_window() const = 0;
  // Selects the next configuration and makes it the engine's.
  virtual void next_configuration() = 0;
  // Sets the platform's activity event, when there is one.
  virtual void signal_activity() = 0;
};

// The road of text to the relay window and the answers of the UI.
class ResultRoad {
 public:
  virtual ~ResultRoad() = default;
  // The controller attaches itself once it has its engine client, and
  // detaches (null) before it goes.
  virtual void attach(ResultHost* host) = 0;
  virtual void send_units(std::u16string_view units) = 0;
  virtual void post_mode_indicator(bool active) = 0;
  virtual void deliver_result() = 0;                           // WM_DUCTRA_RECOGNIZED
  virtual void show_variants_menu(crResultChoice& choice) = 0;  // WM_DUCTRA_VARIANTS
  virtual void take_mode_three_strokes() = 0;                  // WM_DUCTRA_INK, strokes done
};

// The mode-three segmenter, present while the recognition mode is 3.
class SegmenterControl {
 public:
  virtual ~SegmenterControl() = default;
  virtual void create_or_limit_segmenter(int time_out_ms) = 0;
  virtual void destroy_segmenter() = 0;
  // The charsets the segmenter's tables match, when there is a segmenter.
  virtual void set_segmenter_charsets(std::span<const std::uint32_t> ids) = 0;
};

// The settings sheet, as the controller opens and closes it.
class SheetControl {
 public:
  enum class Result { ok, cancelled, already_running };
  virtual ~SheetControl() = default;
  virtual bool sheet_is_open() = 0;
  virtual bool close_sheet() = 0;  // copies its settings back; false when it cannot close
  virtual Result run_sheet(platform::WindowHandle parent) = 0;
};

// Error boxes and engine error reports (any thread).
class ErrorReports {
 public:
  virtual ~ErrorReports() = default;
  virtual void show_error_box(int first, int second) = 0;
  virtual void report_engine_error(const ExceptionInfo& info) = 0;
  virtual void report_start_failure(const EngineStartFailure& failure) = 0;
};

struct ControllerParts {
  ControllerSettings& settings;
  InkLayerFactory& ink_layers;
  SmallWindows& windows;
  ConfigurationControl& configurations;
  InputPanel& input_panel;
  ResultRoad& results;
  SegmenterControl& segmenter;
  SheetControl& sheet;
  ErrorReports& errors;
  // The platform's activity event (activity_event.h), or null.
  std::shared_ptr<platform::SharedEvent> activity_event;
};

}  // namespace ductra
