// Stand-ins for the parts the controller drives: every call is written to
// one log (read from the test thread once the UI thread is blocked), the
// settings keep their values in a map standing for the registry, and the
// ink layer hands a fixed word to the engine client when the test lets the
// pen time out.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/controller_parts.h"

namespace ductra::testing {

class CallLog {
 public:
  void add(std::string entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
  }
  std::vector<std::string> entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
  }
  int count(const std::string& entry) const {
    int n = 0;
    for (const std::string& e : entries()) n += e == entry;
    return n;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> entries_;
};

struct FakeSettingsValues {
  int time_out = 400;
  int pen_width = 2;
  std::uint32_t pen_color = 0xFF0000;
  int use_prompt = 0;
  int recognize_mode = 0;
  bool space_after_result = true;
  bool large_moving_icon = false;
  std::uint32_t language = 1049;
};

class FakeParts final : public ControllerSettings,
                        public InkLayerFactory,
                        public SmallWindows,
                        public ConfigurationControl,
                        public InputPanel,
                        public ResultRoad,
                        public SegmenterControl,
                        public SheetControl,
                        public ErrorReports {
 public:
  class FakeInk final : public InkLayer {
   public:
    explicit FakeInk(FakeParts& parts) : parts_(parts) {}
    ~FakeInk() override { parts_.log.add("ink layer destroyed"); }
    int capture_mode() const override { return parts_.capture_mode; }
    void set_capture_mode(int mode) override {
      parts_.capture_mode = mode;
      parts_.log.add("capture mode " + std::to_string(mode));
    }
    bool pen_timed_out(int time_out_ms, bool pending) override {
      parts_.log.add("pen time-out asked " + std::to_string(time_out_ms) + (pending ? " pending" : ""));
      return parts_.pen_rested.exchange(false);
    }
    void hold_test(bool) override { parts_.log.add("hold test"); }
    void erase_all() override { parts_.log.add("erase ink"); }
    InkOutcome add_strokes_to(CCore& core) override {
      parts_.log.add("strokes added");
      const std::vector<InkPoint> stroke = {{0, 0}, {40, 0}, {40, 40}};
      const InkStrokeView views[] = {stroke};
      return core.add_strokes(views, 1);
    }
    bool is_prompt_stroke_armed() const override { return parts_.prompt_stroke_armed; }
    void set_prompt_stroke(bool armed) override {
      parts_.prompt_stroke_armed = armed;
      parts_.log.add(armed ? "prompt stroke armed" : "prompt stroke withdrawn");
    }
    void frame_box(const platform::Rect& box) override {
      parts_.log.add("frame " + std::to_string(box.left) + " " + std::to_string(box.top) + " " +
                     std::to_string(box.right) + " " + std::to_string(box.bottom));
    }
    std::optional<HandedOverStroke> take_handed_over_stroke() override {
      parts_.log.add("stroke taken");
      return std::exchange(parts_.handed_over, std::nullopt);
    }
    void erase_oldest_strokes(std::uint32_t count) override {
      parts_.log.add("erase " + std::to_string(count) + " oldest strokes");
    }
    std::optional<InkBox> ink_box_in_pixels() override { return parts_.ink_box; }
    void count_pen_awaited() override {
      parts_.log.add("pen awaited");
      if (parts_.when_pen_awaited) parts_.when_pen_awaited();
    }

   private:
    FakeParts& parts_;
  };

  // With `settings`, `configurations`, `results` and `segmenter` in place
  // of the recording ones when given.
  ControllerParts parts(ControllerSettings* settings = nullptr, ConfigurationControl* configurations = nullptr,
                        ResultRoad* results = nullptr, SegmenterControl* segmenter = nullptr) {
    return {settings != nullptr ? *settings : *this,
            *this,
            *this,
            configurations != nullptr ? *configurations : *this,
            *this,
            results != nullptr ? *results : *this,
            segmenter != nullptr ? *segmenter : *this,
            *this,
            *this,
            activity_event};
  }

  // ControllerSettings: the registry is `stored`.
  void set_default_settings() override {
    values = {};
    log.add("settings defaults");
  }
  void load_settings() override {
    values = stored_values;
    log.add("settings loaded");
  }
  void save_settings() override {
    stored_values = values;
    ++saves;
    log.add("settings saved");
  }
  int time_out() const override { return values.time_out; }
  int pen_width() const override { return values.pen_width; }
  std::uint32_t pen_color() const override { return values.pen_color; }
  int use_prompt() const override { return values.use_prompt; }
  int recognize_mode() const override { return values.recognize_mode; }
  bool space_after_result() const override { return values.space_after_result; }
  bool large_moving_icon() const override { return values.large_moving_icon; }
  std::uint32_t language() const override { return values.language; }

  std::unique_ptr<InkLayer> make_ink_layer(CCore& core, int pen_width, std::uint32_t pen_color,
                                           bool mode_three) override {
    log.add("ink layer " + std::to_string(pen_width) + (mode_three ? " mode 3" : ""));
    if (real_ink_layers != nullptr) return real_ink_layers->make_ink_layer(core, pen_width, pen_color, mode_three);
    return std::make_unique<FakeInk>(*this);
  }

  void create_prompt() override { log.add("prompt created"); }
  void destroy_prompt() override { log.add("prompt destroyed"); }
  void hide_prompt() override { log.add("prompt hidden"); }
  platform::MessageResult prompt_colour(platform::WParam, platform::LParam) override { return 0; }
  void create_tool_window() override { log.add("tool window created"); }
  void destroy_tool_window() override { log.add("tool window destroyed"); }
  void save_tool_position(bool rotated) override {
    log.add(rotated ? "tool position saved rotated" : "tool position saved");
  }
  platform::Point tool_top_left() override { return {7, 9}; }
  bool tool_is_movable() override { return tool_movable; }
  void set_tool_expanded(bool expanded) override { log.add(expanded ? "tool expanded" : "tool folded"); }
  void refresh_tool_window() override { log.add("tool refreshed"); }
  void update_tool_window(std::u16string_view label, bool active) override {
    log.add("tool label " + std::string(label.begin(), label.end()) + (active ? " active" : ""));
  }
  void create_keyboard() override {
    log.add("keyboard created");
    if (keyboard_created) keyboard_created();
  }
  void destroy_keyboard() override {
    log.add("keyboard destroyed");
    if (keyboard_destroyed) keyboard_destroyed();
  }
  void show_keyboard(bool enabled, bool shown) override {
    log.add(std::string("keyboard ") + (enabled ? "enabled" : "disabled") + (shown ? " shown" : " hidden"));
  }
  void init_screen_metrics() override { log.add("screen metrics"); }
  void refresh_screen_metrics() override { log.add("screen metrics refreshed"); }

  void build_configurations() override { log.add("configurations built"); }
  bool load_configurations() override {
    log.add("configurations loaded");
    return configurations_stored;
  }
  void make_default_configurations() override { log.add("configurations default"); }
  bool save_configurations() override {
    log.add("configurations saved");
    return true;
  }
  void destroy_configurations() override { log.add("configurations destroyed"); }
  bool has_current() override { return configuration_current; }
  bool current_uses_dictionary() override { return configuration_dictionary; }
  void select_next() override { log.add("next configuration"); }
  bool select(std::uint32_t title) override {
    log.add("select configuration " + std::to_string(title));
    return true;
  }
  int apply_configuration() override {
    log.add("configuration applied");
    if (during_apply) during_apply();
    return apply_status;
  }
  void refresh_indicator(bool active, bool key_row) override {
    log.add(std::string(active ? "indicator active" : "indicator inactive") + (key_row ? " key row" : ""));
  }
  int run_options_menu(platform::WindowHandle, platform::Point where, bool offer_separate_letters,
                       bool separate_letters) override {
    log.add("options menu at " + std::to_string(where.x) + "," + std::to_string(where.y) +
            (offer_separate_letters ? " with separate letters" : "") + (separate_letters ? " checked" : ""));
    return options_choice;
  }

  std::optional<State> query_panel() override { return panel; }
  bool panel_is_shown() override { return panel && panel->shown; }
  void show_panel(bool on) override { log.add(on ? "panel shown" : "panel hidden"); }
  void select_default_input_method() override { log.add("default input method"); }
  void set_language(std::uint32_t language) override { log.add("language " + std::to_string(language)); }

  void attach(ResultHost* host) override { result_host = host; }
  void send_units(std::u16string_view units) override {
    std::lock_guard lock(sent_mutex);
    sent.emplace_back(units);
  }
  void post_mode_indicator(bool active) override { log.add(active ? "mode posted active" : "mode posted"); }
  void deliver_result() override { log.add("result delivered"); }
  void show_variants_menu(crResultChoice&) override {
    log.add("variants menu");
    if (during_variants_menu) during_variants_menu();
  }
  void take_mode_three_strokes() override { log.add("mode-three strokes"); }

  void create_or_limit_segmenter(int time_out_ms) override { log.add("segmenter " + std::to_string(time_out_ms)); }
  void destroy_segmenter() override { log.add("segmenter destroyed"); }
  void set_segmenter_charsets(std::span<const std::uint32_t> ids) override {
    std::string entry = "segmenter charsets";
    for (const std::uint32_t id : ids) entry += " " + std::to_string(id);
    log.add(entry);
  }

  bool sheet_is_open() override { return sheet_open; }
  bool close_sheet() override { return true; }
  Result run_sheet(platform::WindowHandle) override {
    log.add("sheet run");
    return sheet_result;
  }

  void show_error_box(int first, int second) override {
    log.add("error box " + std::to_string(first) + " " + std::to_string(second));
  }
  void report_engine_error(const ExceptionInfo& info) override {
    log.add("engine error " + std::to_string(info.code));
  }
  void report_start_failure(const EngineStartFailure& failure) override {
    log.add("start failure " + std::to_string(failure.status));
  }

  std::vector<std::u16string> sent_units() {
    std::lock_guard lock(sent_mutex);
    return sent;
  }

  CallLog log;
  FakeSettingsValues values;
  FakeSettingsValues stored_values;
  int saves = 0;
  std::atomic<int> capture_mode{2};
  std::atomic<bool> pen_rested{false};
  InkLayerFactory* real_ink_layers = nullptr;  // makes the ink layers when set
  bool prompt_stroke_armed = false;
  ResultHost* result_host = nullptr;
  std::optional<HandedOverStroke> handed_over;
  std::optional<InkBox> ink_box;  // the ink's box the layer reports
  std::function<void()> when_pen_awaited;  // run as the ink layer counts a finished ink
  bool tool_movable = false;
  bool configuration_current = true;
  bool configuration_dictionary = false;
  bool configurations_stored = false;
  int apply_status = 0;
  int options_choice = 0;
  std::function<void()> during_apply;
  bool sheet_open = false;
  Result sheet_result = Result::cancelled;
  std::optional<State> panel = State{true, true};
  std::function<void()> during_variants_menu;
  // Run on the UI thread where the controller builds and takes down its key row.
  std::function<void()> keyboard_created;
  std::function<void()> keyboard_destroyed;
  std::shared_ptr<platform::SharedEvent> activity_event;
  std::mutex sent_mutex;
  std::vector<std::u16string> sent;
};

}  // namespace ductra::testing
