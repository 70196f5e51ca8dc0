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
#include <string_view>

#include "app/shell/ccore.h"
#include "app/shell/exception_info.h"
#include "app/shell/ink_stroke.h"
#include "app/shell/pen_ring_reader.h"
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
  virtual bool large_moving_icon() const = 0;
  virtual std::uint32_t language() const = 0;
};

// The ink layer: the capture thread and the ink on the screen. Strokes and
// boxes are in touch units (four to a pixel) unless said otherwise.
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

  // Repaints what lies under the ink; with `remove` also removes the oldest
  // `count` strokes, or, when `count` reaches their number, all of them (in
  // mode three but a stroke still being written).
  virtual void erase(bool remove, std::uint32_t count) = 0;
  // Draws every stroke again (in mode three but one still being written).
  virtual void redraw() = 0;
  // Repaints under the ink, draws a frame around `box` and redraws the ink.
  virtual void frame_box(const InkBox& box) = 0;
  // A copy of the strokes and their box in pixels.
  virtual InkStrokeList strokes_in_pixels() = 0;
  // Mode three: the finished stroke waiting in the slot (null when empty);
  // it stays valid until release_handed_over_stroke, which frees the slot
  // for the next stroke.
  virtual const InkStroke* handed_over_stroke() = 0;
  virtual void release_handed_over_stroke() = 0;
  // Arms (the touch shim signals the end of the next stroke) or withdraws
  // the prompt stroke; returns the previous state.
  virtual PromptStroke set_prompt_stroke(PromptStroke how) = 0;
  virtual bool is_prompt_stroke_armed() const = 0;
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
  virtual void create_keyboard() = 0;
  virtual void destroy_keyboard() = 0;
  virtual void show_keyboard(bool enabled, bool shown) = 0;
  virtual void init_screen_metrics() = 0;
  virtual void refresh_screen_metrics() = 0;
};

// The user's recognition configurations and the options menu.
class ConfigurationControl {
 public:
  virtual ~ConfigurationControl() = default;
  virtual void build_configurations() = 0;  // from the engine's charsets
  virtual bool load_configurations() = 0;  // from the registry; false when there are none
  virtual void make_default_configurations() = 0;
  virtual void save_configurations() = 0;
  virtual void destroy_configurations() = 0;
  virtual bool has_current() = 0;
  virtual bool current_uses_dictionary() = 0;
  virtual void select_next() = 0;
  // Makes the current configuration's charsets the engine's.
  virtual void switch_configuration() = 0;
  virtual void refresh_indicator(bool active) = 0;
  virtual void show_options_menu_at(platform::Point where) = 0;
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

// The road of text to the relay window and the answers of the UI.
class ResultRoad {
 public:
  virtual ~ResultRoad() = default;
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
};

// The settings sheet.
class SettingsSheet {
 public:
  enum class Result { ok, cancelled, already_running };
  virtual ~SettingsSheet() = default;
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
  SettingsSheet& sheet;
  ErrorReports& errors;
  // The platform's activity event (activity_event.h), or null.
  std::shared_ptr<platform::SharedEvent> activity_event;
};

}  // namespace ductra
