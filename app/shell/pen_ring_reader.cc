#include "app/shell/pen_ring_reader.h"

namespace ductra {

namespace {

using platform::PenRingHeader;

struct ModeWords {
  std::uint32_t capture_on;
  std::uint32_t always_capture;
  bool clears_prompt_stroke;
};

ModeWords words_of(CaptureMode mode) {
  switch (mode) {
    case CaptureMode::ready:
      return {1, 0, true};
    case CaptureMode::writing:
      return {1, 1, true};
    case CaptureMode::off:
      return {0, 0, false};
    case CaptureMode::handing_over:
      return {0, 1, false};
  }
  return {0, 0, false};
}

}  // namespace

PenRingReader::PenRingReader(const platform::RuntimeDir& dir) {
  open(dir, platform::kDefaultMoveTolerance, platform::kDefaultHoldTimeMs);
  set_limits();
}

PenRingReader::PenRingReader(std::span<std::byte> block) {
  open(block, platform::kDefaultMoveTolerance, platform::kDefaultHoldTimeMs);
  set_limits();
}

bool PenRingReader::open(std::span<std::byte> block, std::uint32_t move_tolerance, std::uint32_t hold_time_ms) {
  close();
  return claim(block, move_tolerance, hold_time_ms);
}

bool PenRingReader::open(const platform::RuntimeDir& dir, std::uint32_t move_tolerance,
                         std::uint32_t hold_time_ms) {
  close();
  platform::SharedMemory mapping;
  if (platform::SharedMemory::open(dir, platform::kPenRingName, platform::kPenRingWithTailBytes, &mapping) !=
      platform::Status::ok) {
    return false;
  }
  if (!claim(mapping.bytes(), move_tolerance, hold_time_ms)) return false;
  mapping_ = std::move(mapping);
  return true;
}

bool PenRingReader::claim(std::span<std::byte> block, std::uint32_t move_tolerance, std::uint32_t hold_time_ms) {
  platform::PenRing ring(block);
  if (!ring.is_open()) return false;
  ring.exchange(&PenRingHeader::hold_time_ms_, hold_time_ms);
  ring.exchange(&PenRingHeader::move_tolerance_, move_tolerance);
  ring.exchange(&PenRingHeader::write_index_, 0);
  ring.exchange(&PenRingHeader::read_index_, 0);
  ring.exchange(&PenRingHeader::capture_on_, 1);
  ring.exchange(&PenRingHeader::always_capture_, 0);
  ring.exchange(&PenRingHeader::prompt_stroke_, 0);
  std::scoped_lock lock(mode_mutex_);
  ring_ = ring;
  return true;
}

void PenRingReader::set_limits() const {
  ring_.exchange(&PenRingHeader::hold_time_ms_, platform::kDefaultHoldTimeMs);
  ring_.exchange(&PenRingHeader::move_tolerance_, platform::kDefaultMoveTolerance);
}

void PenRingReader::close() {
  std::scoped_lock lock(mode_mutex_);
  ring_.exchange(&PenRingHeader::capture_on_, 0);
  ring_.exchange(&PenRingHeader::always_capture_, 0);
  ring_.exchange(&PenRingHeader::prompt_stroke_, 0);
  ring_ = platform::PenRing();
  mapping_.close();
}

bool PenRingReader::pop(InkSample* sample) {
  const std::optional<platform::PenSample> taken = ring_.take();
  if (!taken) return false;
  sample->kind = taken->flags();
  if (sample->kind != platform::kPenUp) {
    last_x_ = taken->x();
    last_y_ = taken->y();
  }
  sample->x = last_x_;
  sample->y = last_y_;
  sample->tick = taken->tick;
  return true;
}

bool PenRingReader::read(std::span<InkSample> buffer, std::size_t* count) {
  *count = 0;
  if (buffer.empty()) return false;
  if (has_pushed_back_) {
    has_pushed_back_ = false;
    buffer[0] = pushed_back_;
    *count = 1;
    return true;
  }
  InkSample sample;
  while (*count < buffer.size() && pop(&sample)) {
    if (sample.kind == platform::kPenMove) {
      buffer[(*count)++] = sample;
      continue;
    }
    if (*count == 0) {
      buffer[0] = sample;
      *count = 1;
    } else {
      pushed_back_ = sample;
      has_pushed_back_ = true;
    }
    break;
  }
  return *count > 0;
}

CaptureMode PenRingReader::set_mode(CaptureMode mode) {
  std::scoped_lock lock(mode_mutex_);
  mode_set_ = true;
  write_mode(mode);
  return mode_.exchange(mode);
}

bool PenRingReader::accept_batch() {
  std::scoped_lock lock(mode_mutex_);
  const CaptureMode mode = mode_.load();
  if (mode == CaptureMode::off && mode_set_) return false;
  if (mode == CaptureMode::ready || mode == CaptureMode::off) {
    mode_set_ = true;
    write_mode(CaptureMode::writing);
    mode_.store(CaptureMode::writing);
  }
  return true;
}

void PenRingReader::count_pen_awaited() {
  std::scoped_lock lock(mode_mutex_);
  ring_.add(&platform::PenRingTail::pen_awaited_, 1);
}

PromptStroke PenRingReader::set_prompt_stroke(PromptStroke how) {
  std::scoped_lock lock(mode_mutex_);
  ring_.exchange(&PenRingHeader::prompt_stroke_, how == PromptStroke::armed ? 1 : 0);
  return prompt_stroke_.exchange(how);
}

void PenRingReader::write_mode(CaptureMode mode) const {
  const ModeWords words = words_of(mode);
  ring_.exchange(&PenRingHeader::capture_on_, words.capture_on);
  ring_.exchange(&PenRingHeader::always_capture_, words.always_capture);
  if (words.clears_prompt_stroke) ring_.exchange(&PenRingHeader::prompt_stroke_, 0);
}

}  // namespace ductra
