#include "app/ink/ink_layer.h"

#include <algorithm>
#include <new>
#include <vector>

#include "app/common/locks.h"
#include "app/ink/window_repaint.h"
#include "app/shell/controller.h"
#include "app/shell/screen_metrics.h"
#include "app/shell/shell_messages.h"
#include "app/shell/shell_window.h"
#include "appplatform/clock.h"
#include "appplatform/draw/display.h"
#include "appplatform/pen_ring.h"
#include "appplatform/thread_context.h"
#include "appplatform/wait.h"

namespace ductra {
namespace {

using platform::Point;

constexpr platform::LParam kBackspaceUnit = 8;
// A step of this many pixels to the right (8 touch units) refuses the
// backspace gesture.
constexpr std::int32_t kGestureRightStep = 2;
constexpr std::int64_t kGestureFlatness = 3;

Point in_pixels(InkPoint p) { return {p.x / 4, p.y / 4}; }

// A copy of a stroke for the hand-over slot; null without memory.
std::unique_ptr<InkStroke> copy_of(const InkStroke& stroke) {
  try {
    return std::make_unique<InkStroke>(stroke);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

InkBox box_of(InkStrokeView points) {
  InkBox box;
  for (const InkPoint p : points) box.include(p);
  return box;
}

}  // namespace

ScreenInkLayer::ScreenInkLayer(CCore& core, const InkLayerHost& host, int pen_width, platform::ColorRef pen_colour,
                               bool hand_over)
    : core_(core),
      host_(host),
      reader_(host.runtime),
      pen_width_(pen_width),
      display_(platform::display_context()),
      has_display_(display_.target() != nullptr),
      stamp_(pen_width, pen_colour),
      hand_over_(hand_over) {
  if (!has_display_) host_.errors.show_error_box(kStringCannotCreateDisplay, kStringRestartAdvice);
  capture_thread_ = platform::Thread::start([this] { return capture_loop(); });
  if (!capture_thread_) host_.errors.show_error_box(kStringCannotCreateThread, kStringRestartAdvice);
}

ScreenInkLayer::~ScreenInkLayer() { capture_thread_.reset(); }

int ScreenInkLayer::capture_mode() const { return static_cast<int>(reader_.mode()); }

void ScreenInkLayer::set_capture_mode(int mode) {
  if (mode < static_cast<int>(CaptureMode::ready) || mode > static_cast<int>(CaptureMode::handing_over)) return;
  reader_.set_mode(static_cast<CaptureMode>(mode));
}

bool ScreenInkLayer::pen_timed_out(int time_out_ms, bool engine_busy) {
  std::uint32_t last = last_sample_tick_.load();
  if (last == 0 || !engine_busy || pen_down_.load()) return false;
  if (static_cast<std::int32_t>(platform::tick_count() - last) < time_out_ms) return false;
  return last_sample_tick_.compare_exchange_strong(last, 0);
}

bool ScreenInkLayer::begin_mouse_replay(bool engine_busy) {
  const std::uint32_t last = last_sample_tick_.load();
  if (last == 0 || mouse_replay_.load() || engine_busy || !pen_down_.load()) return false;
  if (platform::tick_count() - last < kMouseReplayHoldMs) return false;
  SectionLock lock(lock_);
  if (strokes_.size() != 1) return false;
  mouse_replay_ = true;
  return true;
}

void ScreenInkLayer::erase_all() { erase(true, UINT32_MAX); }

InkOutcome ScreenInkLayer::add_strokes_to(CCore& core) {
  SectionLock lock(lock_);
  const std::vector<InkStrokeView> views = strokes_.views();
  return core.add_strokes(views, screen_metrics().display_scale);
}

void ScreenInkLayer::erase(bool remove, std::uint32_t count) {
  erase_ink(remove ? Removal::counted : Removal::none, count);
}

void ScreenInkLayer::redraw() {
  SectionLock lock(lock_);
  draw_strokes_locked();
}

void ScreenInkLayer::frame_box(const platform::Rect& box) {
  erase_ink(Removal::none, 0);
  SectionLock lock(lock_);
  if (has_display_) {
    const int left = box.left / 4 - 4, right = box.right / 4 + 4;
    const int top = box.top / 4 - 4, bottom = box.bottom / 4 + 4;
    const std::array<Point, 6> frame = {{{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top},
                                         {right, top}}};
    display_.polyline(frame);
  }
  draw_strokes_locked();
}

void ScreenInkLayer::erase_oldest_strokes(std::uint32_t count) {
  erase(true, count);
  redraw();
}

std::optional<InkBox> ScreenInkLayer::ink_box_in_pixels() {
  SectionLock lock(lock_);
  if (strokes_.box().is_empty()) return std::nullopt;
  return strokes_.box().in_pixels();
}

InkStrokeList ScreenInkLayer::strokes_in_pixels() {
  SectionLock lock(lock_);
  return strokes_.copy_in_pixels();
}

const InkStroke* ScreenInkLayer::handed_over_stroke() {
  std::scoped_lock lock(slot_mutex_);
  return handed_over_.get();
}

// The slot is signalled free only when a stroke left it, so a release of
// an empty slot cannot let the capture thread overwrite the next stroke.
void ScreenInkLayer::release_handed_over_stroke() {
  {
    std::scoped_lock lock(slot_mutex_);
    if (!handed_over_) return;
    handed_over_.reset();
  }
  slot_free_.set();
}

std::optional<HandedOverStroke> ScreenInkLayer::take_handed_over_stroke() {
  std::optional<HandedOverStroke> taken;
  {
    std::scoped_lock lock(slot_mutex_);
    if (!handed_over_) return std::nullopt;
    taken = HandedOverStroke{std::move(handed_over_->points), handed_over_->start_tick, handed_over_->last_tick};
    handed_over_.reset();
  }
  slot_free_.set();
  return taken;
}

void ScreenInkLayer::set_prompt_stroke(bool armed) {
  reader_.set_prompt_stroke(armed ? PromptStroke::armed : PromptStroke::withdrawn);
}

bool ScreenInkLayer::is_prompt_stroke_armed() const { return reader_.prompt_stroke_mode() == PromptStroke::armed; }

std::uint32_t ScreenInkLayer::capture_loop() {
  std::array<InkSample, kMaxInkBatch> samples;
  while (!platform::ThreadContext::current().stop_requested()) {
    std::size_t count = 0;
    if (!reader_.read(samples, &count)) {
      if (!platform::sleep_for(kEmptyRingPauseMs)) break;
      continue;
    }
    take_batch(std::span(samples.data(), count));
  }
  return 0;
}

void ScreenInkLayer::take_batch(std::span<const InkSample> samples) {
  std::array<Taken, kMaxInkBatch> taken;
  const CoordinateTransform transform = screen_metrics().transform();
  for (std::size_t i = 0; i < samples.size(); ++i) {
    auto x = static_cast<std::int32_t>(samples[i].x), y = static_cast<std::int32_t>(samples[i].y);
    transform.transform(&x, &y);
    taken[i] = {{x, y}, samples[i].kind, samples[i].tick};
  }
  const Batch batch(taken.data(), samples.size());
  // A batch queued before capture was switched off on purpose is dropped
  // whole, so no stroke is left half begun.
  if (!reader_.accept_batch()) return;
  if (batch.front().kind == platform::kPenDown) start_pen_down();
  if (!pen_down_.load()) return;
  last_sample_tick_ = batch.back().tick;
  if (mouse_replay_.load()) {
    replay_as_mouse(batch);
  } else if (batch.front().kind == platform::kPenUp) {
    pen_down_ = false;
    end_stroke(batch);
  } else {
    add_to_ink(batch);
  }
}

void ScreenInkLayer::start_pen_down() {
  pen_down_ = true;
  if (!hand_over_) return;
  host_.windows.kill_timer(host_.shell_window, kModeThreeTimer);
  redraw();
}

void ScreenInkLayer::end_stroke(Batch batch) {
  add_to_ink(batch);
  bool built = false;
  {
    SectionLock lock(lock_);
    built = strokes_.is_building();
    strokes_.end_stroke();
  }
  if (!built) return;
  if (is_backspace_gesture()) {
    stroke_in_progress_ = false;
    post_ink(kInkOneUnit, kBackspaceUnit);
    reader_.set_mode(CaptureMode::ready);
  } else if (hand_over_) {
    if (hand_over_last_stroke()) post_ink(kInkStrokesDone, 0);
  } else {
    core_.start_recognition();
  }
}

void ScreenInkLayer::add_to_ink(Batch batch) {
  if (!has_display_) return;
  SectionLock lock(lock_);
  if (batch.front().kind == platform::kPenDown) {
    const bool begun = strokes_.begin_stroke(batch.front().tick);
    if (hand_over_) stroke_in_progress_ = begun;
  }
  for (const Taken& sample : batch) strokes_.take_sample(sample.point, sample.tick);
  draw_newest_piece(batch.size());
}

// Only the newest points are drawn again (a few before the batch's own, so
// the piece joins the ink already there).
void ScreenInkLayer::draw_newest_piece(std::size_t batch_size) {
  if (!strokes_.is_building()) return;
  const std::vector<InkPoint>& points = strokes_.last().points;
  const std::size_t count = std::min({batch_size + 5, points.size(), kMaxDrawnPiece});
  std::array<Point, kMaxDrawnPiece> piece;
  for (std::size_t i = 0; i < count; ++i) piece[i] = in_pixels(points[points.size() - count + i]);
  if (count == 1) {
    stamp_.dot(display_, piece[0].x, piece[0].y);
  } else if (count > 1) {
    stamp_.polyline(display_, std::span(piece.data(), count));
  }
}

// One flat stroke written leftwards: no step of 8 touch units or more to
// the right, more than three times as wide as high, and wider (in touch
// units) than a third of the screen's pixels.
bool ScreenInkLayer::is_backspace_gesture() const {
  SectionLock lock(lock_);
  if (strokes_.size() != 1) return false;
  const std::vector<InkPoint>& points = strokes_[0].points;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    if ((points[i + 1].x - points[i].x) / 4 >= kGestureRightStep) return false;
  }
  const InkBox box = box_of(points);
  const std::int64_t width = std::int64_t{box.max_x} - box.min_x, height = std::int64_t{box.max_y} - box.min_y;
  return width > kGestureFlatness * height && kGestureFlatness * width > screen_metrics().width;
}

// Waits until the controller has taken the stroke before (a stop ends the
// wait and hands nothing over).
bool ScreenInkLayer::hand_over_last_stroke() {
  if (!platform::wait_for(slot_free_, platform::kInfinite).signalled()) return false;
  std::unique_ptr<InkStroke> copy;
  {
    SectionLock lock(lock_);
    if (!strokes_.empty()) copy = copy_of(strokes_.last());
  }
  stroke_in_progress_ = false;
  if (!copy) {
    slot_free_.set();
    return false;
  }
  std::scoped_lock lock(slot_mutex_);
  handed_over_ = std::move(copy);
  return true;
}

// The stroke written so far becomes a press at its first point and moves
// along it, and leaves the screen and the stroke list; the pen goes on as
// mouse moves until the release at pen up.
void ScreenInkLayer::replay_as_mouse(Batch batch) {
  std::vector<InkPoint> written;
  bool had_ink = false;
  {
    SectionLock lock(lock_);
    had_ink = !strokes_.empty();
    if (had_ink) {
      try {
        written = strokes_.last().points;
      } catch (const std::bad_alloc&) {
        written.clear();
      }
    }
  }
  for (std::size_t i = 0; i < written.size(); ++i) {
    inject_mouse(platform::MOUSEEVENTF_MOVE, written[i]);
    if (i == 0) inject_mouse(platform::MOUSEEVENTF_LEFTDOWN, written[i]);
  }
  if (had_ink) {
    erase_ink(Removal::all, 0);
    stroke_in_progress_ = false;
  }
  for (const Taken& sample : batch) {
    last_sample_tick_ = 0;
    inject_mouse(platform::MOUSEEVENTF_MOVE, sample.point);
    if (sample.kind != platform::kPenUp) continue;
    inject_mouse(platform::MOUSEEVENTF_LEFTUP, sample.point);
    mouse_replay_ = false;
    pen_down_ = false;
    reader_.set_mode(CaptureMode::ready);
  }
}

void ScreenInkLayer::inject_mouse(std::uint32_t flags, InkPoint at) {
  const int width = host_.windows.system_metric(platform::SM_CXSCREEN);
  const int height = host_.windows.system_metric(platform::SM_CYSCREEN);
  if (width <= 0 || height <= 0) return;
  const Point pixel = in_pixels(at);
  const auto x = static_cast<int>(std::int64_t{pixel.x} * 65536 / width);
  const auto y = static_cast<int>(std::int64_t{pixel.y} * 65536 / height);
  host_.windows.inject_mouse(flags | platform::MOUSEEVENTF_ABSOLUTE, x, y);
}

void ScreenInkLayer::post_ink(platform::WParam kind, platform::LParam value) {
  host_.windows.post_message(host_.shell_window, WM_DUCTRA_INK, kind, value);
}

// The windows under the ink are repainted after the lock is let go: a
// repaint is a Send to the thread owning each window, and the UI thread
// may be waiting for the lock meanwhile.
void ScreenInkLayer::erase_ink(Removal removal, std::size_t count) {
  platform::Rect area;
  {
    SectionLock lock(lock_);
    if (strokes_.empty()) return;
    const InkBox box = strokes_.box().in_pixels();
    const int margin = 6 * (pen_width_ + 4);
    area = {box.min_x - margin, box.min_y - margin, box.max_x + margin, box.max_y + margin};
    remove_strokes(removal, count);
  }
  repaint_windows_under(host_.windows, area);
}

void ScreenInkLayer::remove_strokes(Removal removal, std::size_t count) {
  switch (removal) {
    case Removal::none:
      return;
    case Removal::counted:
      if (count < strokes_.size()) {
        strokes_.remove_oldest(count);
      } else if (hand_over_ && stroke_in_progress_.load()) {
        strokes_.remove_oldest(strokes_.size() - 1);
      } else {
        strokes_.clear();
      }
      return;
    case Removal::all:
      strokes_.clear();
      return;
  }
}

void ScreenInkLayer::draw_strokes_locked() {
  if (!has_display_) return;
  std::size_t count = strokes_.size();
  if (hand_over_ && stroke_in_progress_.load() && count > 0) --count;
  for (std::size_t i = 0; i < count; ++i) draw_stroke(strokes_[i]);
}

void ScreenInkLayer::draw_stroke(const InkStroke& stroke) {
  if (stroke.points.size() == 1) {
    const Point p = in_pixels(stroke.points.front());
    stamp_.dot(display_, p.x, p.y);
    return;
  }
  std::vector<Point> pixels;
  try {
    pixels.reserve(stroke.points.size());
  } catch (const std::bad_alloc&) {
    return;
  }
  for (const InkPoint p : stroke.points) pixels.push_back(in_pixels(p));
  stamp_.polyline(display_, pixels);
}

std::unique_ptr<InkLayer> ScreenInkLayers::make_ink_layer(CCore& core, int pen_width, std::uint32_t pen_color,
                                                          bool intelligent_mode) {
  return std::make_unique<ScreenInkLayer>(core, InkLayerHost{windows_, shell_window(), runtime_, errors_}, pen_width,
                                          pen_color, intelligent_mode);
}

}  // namespace ductra
