// ScreenInkLayer: the application's ink layer. Its capture thread turns
// the pen samples of the shared ring into strokes (touch units, a quarter
// of a pixel, in the current screen orientation), draws each new piece on
// the screen with the pen-tip stamp, recognises the backspace gesture and
// at pen up either wakes the engine client (which marks it busy for the
// controller's pen time-out) or, in mode three, hands the finished stroke
// to the controller through a one-stroke slot. A first stroke held still
// for a second while the engine client is idle is passed on as mouse input
// to the window under it instead.
//
// The UI thread reads and erases the ink, sets the capture mode and runs
// the time-out and hold tests (controller_parts.h). One lock guards the
// stroke list and every drawing on the screen, so the two threads never
// draw at once; windows are repainted only after it is let go. The flags
// both threads write are atomics. The capture thread ends cooperatively:
// destruction asks it to stop, which wakes it from its sleeps and waits,
// and waits for its end before anything it uses goes away.
//
// Without a display nothing is drawn or recorded (the failure is shown
// once); without the ring no sample ever comes.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

#include "app/ink/stamp_renderer.h"
#include "app/shell/controller_parts.h"
#include "app/shell/ink_sample.h"
#include "app/shell/ink_stroke.h"
#include "app/shell/pen_ring_reader.h"
#include "appplatform/critical_section.h"
#include "appplatform/event.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/thread.h"
#include "appplatform/window_system.h"

namespace ductra {

// What the ink layer needs of the application around it.
struct InkLayerHost {
  platform::WindowSystem& windows;
  platform::WindowHandle shell_window;  // gets WM_DUCTRA_INK
  const platform::RuntimeDir& runtime;  // where the pen-sample ring lives
  ErrorReports& errors;
};

// Error boxes of the ink layer.
inline constexpr int kStringCannotCreateDisplay = 13;

// A first stroke held still this long while the engine client is idle is
// passed on as mouse input.
inline constexpr std::uint32_t kMouseReplayHoldMs = 1000;
// The capture thread's pause while the ring is empty.
inline constexpr std::uint32_t kEmptyRingPauseMs = 50;
// Most points drawn at once while a stroke is being written.
inline constexpr std::size_t kMaxDrawnPiece = 200;

class ScreenInkLayer final : public InkLayer {
 public:
  // Opens the ring (capture on), takes the display and starts the capture
  // thread; `hand_over` is mode three.
  ScreenInkLayer(CCore& core, const InkLayerHost& host, int pen_width, platform::ColorRef pen_colour,
                 bool hand_over);
  // Stops the capture thread, then lets go of the ring (capture off).
  ~ScreenInkLayer() override;
  ScreenInkLayer(const ScreenInkLayer&) = delete;
  ScreenInkLayer& operator=(const ScreenInkLayer&) = delete;

  int capture_mode() const override;
  void set_capture_mode(int mode) override;
  // True, once, when samples came since the last true answer, the newest
  // at least `time_out_ms` ago, the engine client is busy with them and the
  // pen is up.
  bool pen_timed_out(int time_out_ms, bool engine_busy) override;
  // Switches mouse replay on when the pen has been held still for a second
  // on the first and only stroke while the engine client is idle.
  void hold_test(bool engine_busy) override { begin_mouse_replay(engine_busy); }
  bool begin_mouse_replay(bool engine_busy);
  void erase_all() override;
  InkOutcome add_strokes_to(CCore& core) override;

  bool is_prompt_stroke_armed() const override;
  void set_prompt_stroke(bool armed) override;
  // Repaints under the ink, draws a frame around `box` (touch units: left,
  // top, right, bottom) and redraws the ink.
  void frame_box(const platform::Rect& box) override;
  // Mode three: the finished stroke, taken out of the slot, which is then
  // free for the next one.
  std::optional<HandedOverStroke> take_handed_over_stroke() override;
  void erase_oldest_strokes(std::uint32_t count) override;
  std::optional<InkBox> ink_box_in_pixels() override;
  void count_pen_awaited() override { reader_.count_pen_awaited(); }

  // Repaints what lies under the ink; with `remove` also removes the oldest
  // `count` strokes, or, when `count` reaches their number, all of them (in
  // mode three but a stroke still being written).
  void erase(bool remove, std::uint32_t count);
  // Draws every stroke again (in mode three but one still being written).
  void redraw();
  // A copy of the strokes and their box in pixels.
  InkStrokeList strokes_in_pixels();
  // The stroke waiting in the slot (null when empty), valid until released;
  // a release frees the slot for the next stroke.
  const InkStroke* handed_over_stroke();
  void release_handed_over_stroke();

  bool is_pen_down() const { return pen_down_.load(); }
  bool is_mouse_replay() const { return mouse_replay_.load(); }

 private:
  // A sample turned to the screen's orientation.
  struct Taken {
    InkPoint point;
    std::uint32_t kind = 0;
    std::uint32_t tick = 0;
  };
  using Batch = std::span<const Taken>;
  // none: repaint only; counted: the oldest `count`, or all when that many
  // or more (in mode three but one being written); all: every stroke.
  enum class Removal { none, counted, all };

  std::uint32_t capture_loop();
  void take_batch(std::span<const InkSample> samples);
  void start_pen_down();
  void end_stroke(Batch batch);
  void add_to_ink(Batch batch);
  void draw_newest_piece(std::size_t batch_size);
  bool is_backspace_gesture() const;
  bool hand_over_last_stroke();
  void replay_as_mouse(Batch batch);
  void inject_mouse(std::uint32_t flags, InkPoint at);
  void post_ink(platform::WParam kind, platform::LParam value);
  void erase_ink(Removal removal, std::size_t count);
  void remove_strokes(Removal removal, std::size_t count);
  void draw_stroke(const InkStroke& pixels);
  void draw_strokes_locked();

  CCore& core_;
  const InkLayerHost host_;
  mutable platform::CriticalSection lock_;  // the stroke list and every drawing
  PenRingReader reader_;
  std::atomic<bool> pen_down_{false};
  InkStrokeList strokes_;
  const int pen_width_;
  platform::DeviceContext display_;
  const bool has_display_;
  StampRenderer stamp_;
  std::atomic<bool> mouse_replay_{false};
  const bool hand_over_;
  std::atomic<std::uint32_t> last_sample_tick_{0};
  std::mutex slot_mutex_;
  std::unique_ptr<InkStroke> handed_over_;  // under slot_mutex_
  std::atomic<bool> stroke_in_progress_{false};
  platform::Event slot_free_{platform::EventReset::automatic, true};
  std::unique_ptr<platform::Thread> capture_thread_;
};

// Builds a ScreenInkLayer for the controller on the process's shell window.
class ScreenInkLayers final : public InkLayerFactory {
 public:
  ScreenInkLayers(platform::WindowSystem& windows, const platform::RuntimeDir& runtime, ErrorReports& errors)
      : windows_(windows), runtime_(runtime), errors_(errors) {}

  std::unique_ptr<InkLayer> make_ink_layer(CCore& core, int pen_width, std::uint32_t pen_color,
                                           bool intelligent_mode) override;

 private:
  platform::WindowSystem& windows_;
  const platform::RuntimeDir& runtime_;
  ErrorReports& errors_;
};

}  // namespace ductra
