// The application's end of the pen-sample ring: it switches the touch
// shim's capture through the ring's header words and takes samples out of
// the ring, one at a time or in batches, for the ink capture thread.
//
// Two threads share one reader: the capture thread (read, pop, mode and
// accept_batch) and the UI thread (set_mode, set_prompt_stroke and the
// queries). Mode changes are serialised inside the reader, so the ring's
// words always match the recorded mode. The last point and the pushed-back
// sample belong to the capture thread alone.
//
// The reader normally opens the device's named ring block itself and holds
// it while open (the block is created when the shim has not made it yet);
// it can also be given a view that its caller keeps mapped. A closed reader
// (the block could not be mapped) reports no sample, and records mode
// changes without writing them anywhere.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

#include "app/shell/ink_sample.h"
#include "appplatform/pen_ring.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_memory.h"

namespace ductra {

// What the shim does with samples, as set_mode writes it into the ring.
enum class CaptureMode : std::int32_t {
  ready = 0,           // the shim decides per stroke by its window and hold tests
  writing = 1,         // every stroke goes into the ring
  off = 2,             // every sample goes to the system
  handing_over = 3,    // samples are swallowed while the ink goes to recognition
};

// Whether the shim is asked to signal the end of the next stroke.
enum class PromptStroke : std::int32_t {
  armed = 0,
  withdrawn = 1,
};

// Most samples the ink layer takes in one batch.
inline constexpr std::size_t kMaxInkBatch = 256;

class PenRingReader {
 public:
  // A closed reader: mode off, prompt stroke withdrawn.
  PenRingReader() = default;

  // Opens the named ring block of the device whose runtime folder is `dir`
  // (see open) with the default tolerance and hold time. A failure leaves
  // the reader closed.
  explicit PenRingReader(const platform::RuntimeDir& dir);

  // The same over `block` (see open).
  explicit PenRingReader(std::span<std::byte> block);

  ~PenRingReader() { close(); }
  PenRingReader(const PenRingReader&) = delete;
  PenRingReader& operator=(const PenRingReader&) = delete;

  // Takes `block`, a mapped view of the shared ring that the caller keeps
  // mapped while the reader is open, and claims it: hold time, move
  // tolerance, both indices 0, capture on (the shim then behaves as in
  // mode ready), always-capture and the prompt-stroke request off. The
  // recorded mode stays off until a caller sets one. False, leaving the
  // reader closed, when the block is too small or misaligned.
  bool open(std::span<std::byte> block, std::uint32_t move_tolerance, std::uint32_t hold_time_ms);

  // Creates or opens the block named kPenRingName in `dir`, maps it with its
  // tail for as long as the reader stays open and claims it as above. False, leaving
  // the reader closed, when the block cannot be opened or mapped.
  bool open(const platform::RuntimeDir& dir, std::uint32_t move_tolerance, std::uint32_t hold_time_ms);

  // Writes the default hold time and move tolerance.
  void set_limits() const;

  // Switches capture, always-capture and the prompt-stroke request off and
  // lets go of the block (unmapping it when the reader opened it by name).
  void close();

  bool is_open() const { return ring_.is_open(); }

  // The oldest sample, or false when the ring is empty or closed. A pen-up
  // sample carries the point of the last sample before it.
  bool pop(InkSample* sample);

  // A batch into `buffer` (at most its size): one pen-down sample, one
  // pen-up (or other non-move) sample, or a run of moves; `count` receives
  // the number written. False (count 0) when there is nothing to read.
  bool read(std::span<InkSample> buffer, std::size_t* count);

  // Records `mode` and, while open, writes it into the ring. Returns the
  // mode recorded before.
  CaptureMode set_mode(CaptureMode mode);
  CaptureMode mode() const { return mode_.load(); }

  // For each batch the capture thread took: a ring in mode ready, or one
  // whose mode nobody has set since it was opened, now takes every stroke
  // (mode writing). False when a caller switched capture off on purpose:
  // the batch was queued before that and is dropped, and the mode stays off,
  // so taps meant for a menu or a box reach it.
  bool accept_batch();

  // Counts, in the ring's tail (platform::PenRingTail), one more time the
  // application waits for the pen with nothing left to do.
  void count_pen_awaited();

  // Arms or withdraws the prompt-stroke request; returns the previous one.
  PromptStroke set_prompt_stroke(PromptStroke how);
  PromptStroke prompt_stroke_mode() const { return prompt_stroke_.load(); }

 private:
  bool claim(std::span<std::byte> block, std::uint32_t move_tolerance, std::uint32_t hold_time_ms);
  void write_mode(CaptureMode mode) const;

  platform::SharedMemory mapping_;  // open only when the reader opened the block by name
  platform::PenRing ring_;
  std::uint32_t last_x_ = 0;
  std::uint32_t last_y_ = 0;
  std::mutex mode_mutex_;
  std::atomic<CaptureMode> mode_{CaptureMode::off};
  bool mode_set_ = false;  // under mode_mutex_
  std::atomic<PromptStroke> prompt_stroke_{PromptStroke::withdrawn};
  InkSample pushed_back_;
  bool has_pushed_back_ = false;
};

}  // namespace ductra
