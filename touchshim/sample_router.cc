#include "touchshim/sample_router.h"

#include <algorithm>
#include <cstdlib>

#include "touchshim/pass_through_target.h"

namespace ductra::tapshim {

namespace {

using platform::kPenAway;
using platform::kPenDown;
using platform::kPenMove;
using platform::kPenUp;
using platform::PenRingHeader;
using platform::PenSample;

// Samples carry 12-bit coordinates; a coordinate outside them is clamped so
// that it never wraps to the other side of the panel.
std::uint32_t touch_coordinate(std::int32_t value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 4095)); }

PenSample packed(std::uint32_t flags, std::int32_t x, std::int32_t y, std::uint32_t tick) {
  return PenSample::make(flags, touch_coordinate(x), touch_coordinate(y), tick);
}

bool ends_stroke(std::uint32_t flags) { return flags == kPenUp || flags == kPenAway; }

}  // namespace

SampleRouter::SampleRouter(RoutingHost& host, const WindowQuery& windows) : host_(host), windows_(windows) {}

std::int32_t SampleRouter::route(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  if (!ring_.is_open()) return pass(flags, x, y);

  if (word(&PenRingHeader::capture_on_) == 0 && word(&PenRingHeader::always_capture_) == 1 &&
      is_application_alive()) {
    // Samples are swallowed while the application hands its ink over, unless
    // it waits for the end of a stroke the user writes into a menu.
    if (word(&PenRingHeader::prompt_stroke_) != 1) {
      suppress_ = flags != kPenUp;
      return kSampleSwallowed;
    }
    if (ends_stroke(flags)) signal_prompt_stroke_ended();
  } else if (flags == kPenDown) {
    if (word(&PenRingHeader::capture_on_) == 1 || word(&PenRingHeader::always_capture_) == 1 ||
        !is_application_alive()) {
      signal_prompt_stroke_ended();
    }
  }

  if (word(&PenRingHeader::prompt_stroke_) == 1 && ends_stroke(flags)) signal_prompt_stroke_ended();

  if (word(&PenRingHeader::capture_on_) == 0 && word(&PenRingHeader::always_capture_) == 0 &&
      is_application_alive() && suppress_) {
    if (flags == kPenUp) suppress_ = false;
    return kSampleSwallowed;
  }
  if (word(&PenRingHeader::capture_on_) == 0 || !is_application_alive()) return pass(flags, x, y);
  if (suppress_) {
    if (flags == kPenUp) suppress_ = false;
    return kSampleSwallowed;
  }

  if (word(&PenRingHeader::always_capture_) == 0 && flags == kPenDown) {
    pass_through_ = is_pass_through_target(windows_, screen_point(x, y));
    if (pass_through_) return pass(flags, x, y);
  }

  switch (hold_test(flags, x, y)) {
    case Decision::hold_back:
      return hold_back(flags, x, y);
    case Decision::capture:
      return capture(flags, x, y);
    case Decision::system:
      break;
  }
  return pass(flags, x, y);
}

void SampleRouter::signal_prompt_stroke_ended() {
  host_.set_prompt_stroke_event();
  ring_.exchange(&PenRingHeader::prompt_stroke_, 0);
}

std::int32_t SampleRouter::pass(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  return host_.pass_to_system(flags, x, y);
}

// An application that has gone without closing the ring stops capturing.
bool SampleRouter::is_application_alive() {
  switch (host_.probe_application()) {
    case Liveness::alive:
      return true;
    case Liveness::gone:
      ring_.word(&PenRingHeader::capture_on_).store(0);
      ring_.word(&PenRingHeader::always_capture_).store(0);
      suppress_ = false;
      return false;
    case Liveness::unknown:
      break;
  }
  return false;
}

// The pixel under a touch point, in the display's current orientation. The
// screen size is read again only when the orientation changed.
ScreenPoint SampleRouter::screen_point(std::int32_t x, std::int32_t y) {
  const int orientation = host_.display_orientation().value_or(0);
  if (orientation != cached_orientation_) {
    cached_orientation_ = orientation;
    cached_size_ = host_.screen_size();
  }
  const std::int64_t width = 4 * static_cast<std::int64_t>(cached_size_.width);
  const std::int64_t height = 4 * static_cast<std::int64_t>(cached_size_.height);
  std::int64_t screen_x = x;
  std::int64_t screen_y = y;
  switch (orientation) {
    case 1:
      screen_x = width - y;
      screen_y = x;
      break;
    case 2:
      screen_x = width - x;
      screen_y = height - y;
      break;
    case 4:
      screen_x = y;
      screen_y = height - x;
      break;
    default:
      break;
  }
  return {static_cast<std::int32_t>(screen_x >> 2), static_cast<std::int32_t>(screen_y >> 2)};
}

SampleRouter::Decision SampleRouter::hold_test(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  if (word(&PenRingHeader::always_capture_) == 1) return Decision::capture;
  if (flags == kPenDown) {
    held_count_ = 0;
    pass_through_ = false;
    start_x_ = x;
    start_y_ = y;
    start_tick_ = host_.tick_count();
    return Decision::hold_back;
  }
  if (flags != kPenUp && flags != kPenMove) return Decision::system;
  if (pass_through_) return Decision::system;
  if (held_count_ == 0) return Decision::capture;
  if (flags == kPenUp) {
    replay_held();
    return Decision::system;
  }
  const std::int64_t distance = std::llabs(static_cast<std::int64_t>(x) - start_x_) +
                                std::llabs(static_cast<std::int64_t>(y) - start_y_);
  if (distance > static_cast<std::int64_t>(word(&PenRingHeader::move_tolerance_))) {
    write_held_to_ring();
    host_.yield();
    return Decision::capture;
  }
  if (host_.tick_count() - start_tick_ < word(&PenRingHeader::hold_time_ms_)) return Decision::hold_back;
  replay_held();
  pass_through_ = true;
  return Decision::system;
}

std::int32_t SampleRouter::hold_back(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  const PenSample sample = packed(flags, x, y, host_.tick_count());
  if (held_count_ > 0) {
    const PenSample& last = held_[held_count_ - 1];
    if (last.x() == sample.x() && last.y() == sample.y()) return kSampleTaken;
  }
  if (held_count_ < kMaxHeldSamples) held_[held_count_++] = sample;
  return kSampleTaken;
}

std::int32_t SampleRouter::capture(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  if (flags != kPenUp && is_repeated_point(flags, x, y)) return kSampleTaken;
  ring_.append(packed(flags, x, y, host_.tick_count()));
  return kSampleTaken;
}

bool SampleRouter::is_repeated_point(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  if (flags == kPenDown) {
    repeat_x_ = -1;
    repeat_y_ = -1;
    return false;
  }
  if (x == repeat_x_ && y == repeat_y_) return true;
  repeat_x_ = x;
  repeat_y_ = y;
  return false;
}

// A full ring ends the copy; the rest of the held samples are lost.
void SampleRouter::write_held_to_ring() {
  for (std::size_t i = 0; i < held_count_; ++i) {
    if (!ring_.append(held_[i])) break;
  }
  held_count_ = 0;
}

void SampleRouter::replay_held() {
  for (std::size_t i = 0; i < held_count_; ++i) host_.pass_to_system(held_[i].flags(), held_[i].x(), held_[i].y());
  held_count_ = 0;
}

}  // namespace ductra::tapshim
