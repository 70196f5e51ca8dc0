// The pen-sample ring: the block of shared memory through which the touch
// shim hands pen samples to the application, and through whose header words
// the application steers the shim.
//
// The block is 6444 bytes: a header of eleven 32-bit words and a ring of 800
// samples of two words each. One writer (the shim) appends, one reader (the
// application) takes, in different processes and without a lock: each side
// writes an entry or reads it completely before it publishes its index, and
// only the writer stores the write index, only the reader the read index.
// The ring holds at most 799 samples.
//
// `PenRing` is a view over the bytes of such a block, mapped by whoever
// owns it. Every access to a shared word is atomic. Indices found in the
// block come from another process, so they are reduced modulo 800 before
// they address an entry: a damaged block never makes either side read or
// write outside it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ductra::platform {

// The name under which the shim and the application share the block.
inline constexpr std::u16string_view kPenRingName = u"Korvale Software tapshim.dll File Mapping";

// The application's alive marker: the shim routes samples into the ring only
// while it is held.
inline constexpr std::u16string_view kApplicationAliveName = u"Korvale Software Ductra is still alive Event";

// The event the shim sets at the end of a stroke the application asked about
// through the header's prompt-stroke word.
inline constexpr std::u16string_view kPromptStrokeEndedName = u"Korvale Software Ductra prompt stroke ended Event";

inline constexpr std::uint32_t kPenRingCapacity = 800;

// Default press-and-hold time and move tolerance both sides write.
inline constexpr std::uint32_t kDefaultHoldTimeMs = 300;
inline constexpr std::uint32_t kDefaultMoveTolerance = 40;

// Sample flags of the touch driver (bit 0 valid, 1 down, 2 calibrated,
// 3 previously down) that matter to both sides.
inline constexpr std::uint32_t kPenDown = 7;
inline constexpr std::uint32_t kPenMove = 15;
inline constexpr std::uint32_t kPenUp = 13;
inline constexpr std::uint32_t kPenAway = 5;  // valid, neither down nor previously down

// One ring entry. Word 0 packs x (bits 0-11), y (bits 12-23) and the flags
// (bits 24-30) in touch units; word 1 is the tick count at which the shim
// received the sample.
struct PenSample {
  std::uint32_t packed;
  std::uint32_t tick;

  // Keeps the low 12 bits of x and y and the low 7 bits of the flags.
  static PenSample make(std::uint32_t flags, std::uint32_t x, std::uint32_t y, std::uint32_t tick);
  std::uint32_t x() const { return packed & 0xFFF; }
  std::uint32_t y() const { return (packed >> 12) & 0xFFF; }
  std::uint32_t flags() const { return (packed >> 24) & 0x7F; }
};

// The header, word by word, little-endian as the machine is.
struct PenRingHeader {
  std::uint32_t capacity_;        // 800, written by the shim
  std::uint32_t ring_;            // where entry 0 lies (see PenRing::initialize)
  std::uint32_t write_index_;     // next entry the shim writes
  std::uint32_t read_index_;      // next entry the application reads
  std::uint32_t capture_on_;      // 1: samples are taken for ink
  std::uint32_t display_width_;   // from the driver's calibration query
  std::uint32_t display_height_;
  std::uint32_t hold_time_ms_;    // press-and-hold time
  std::uint32_t move_tolerance_;  // largest |dx| + |dy| that still holds still
  std::uint32_t always_capture_;  // 1: no window test, no hold test
  std::uint32_t prompt_stroke_;   // 1: signal the prompt-stroke event at pen up
};

struct PenRingBlock {
  PenRingHeader header;
  PenSample ring[kPenRingCapacity];
};

static_assert(sizeof(PenSample) == 8);
static_assert(offsetof(PenSample, tick) == 4);
static_assert(sizeof(PenRingHeader) == 44);
static_assert(offsetof(PenRingHeader, ring_) == 4);
static_assert(offsetof(PenRingHeader, write_index_) == 8);
static_assert(offsetof(PenRingHeader, read_index_) == 12);
static_assert(offsetof(PenRingHeader, capture_on_) == 16);
static_assert(offsetof(PenRingHeader, display_width_) == 20);
static_assert(offsetof(PenRingHeader, display_height_) == 24);
static_assert(offsetof(PenRingHeader, hold_time_ms_) == 28);
static_assert(offsetof(PenRingHeader, move_tolerance_) == 32);
static_assert(offsetof(PenRingHeader, always_capture_) == 36);
static_assert(offsetof(PenRingHeader, prompt_stroke_) == 40);
static_assert(offsetof(PenRingBlock, ring) == 44);
static_assert(sizeof(PenRingBlock) == 6444);

inline constexpr std::size_t kPenRingBytes = sizeof(PenRingBlock);

// Past the 6444 bytes the touch shim knows lie words of this system's own.
// The shim maps, zeroes and reads only its 6444 bytes and never sees them;
// a side that maps kPenRingWithTailBytes grows the block to hold them.
struct PenRingTail {
  // How many times the application has begun to wait for the pen with
  // nothing left to do: once each time the panel's showing switches it on,
  // and once after each ink it has finished with (typed all that the ink gave, or found
  // nothing to type). Only the application adds to it, so whoever feeds the
  // pen knows when a result is whole, and when the application is ready for
  // the first stroke, without guessing from the capture words (which the
  // application also writes as it opens the block, before it is ready).
  std::uint32_t pen_awaited_;
};

struct PenRingBlockWithTail {
  PenRingBlock block;
  PenRingTail tail;
};

static_assert(offsetof(PenRingBlockWithTail, tail) == kPenRingBytes);
static_assert(offsetof(PenRingBlockWithTail, tail) + offsetof(PenRingTail, pen_awaited_) == 6444);
static_assert(sizeof(PenRingBlockWithTail) == 6448);

inline constexpr std::size_t kPenRingWithTailBytes = sizeof(PenRingBlockWithTail);

class PenRing {
 public:
  // A closed ring: every operation reports nothing and changes nothing.
  PenRing() = default;

  // A view of `bytes`, which must be at least kPenRingBytes long and 4-byte
  // aligned; otherwise the ring stays closed. The tail is reached when the
  // view holds kPenRingWithTailBytes.
  explicit PenRing(std::span<std::byte> bytes);

  bool is_open() const { return block_ != nullptr; }
  bool has_tail() const { return tail_ != nullptr; }

  // The writer's opening: zeroes the block, then writes the capacity, where
  // entry 0 lies, both indices 0 and the default hold time and tolerance.
  // Capture stays off until the application switches it on.
  void initialize() const;

  // The shared word of `field` (e.g. &PenRingHeader::capture_on_). Only for
  // an open ring.
  std::atomic_ref<std::uint32_t> word(std::uint32_t PenRingHeader::*field) const {
    return std::atomic_ref<std::uint32_t>(block_->header.*field);
  }
  std::uint32_t load(std::uint32_t PenRingHeader::*field) const;   // 0 when closed
  void exchange(std::uint32_t PenRingHeader::*field, std::uint32_t value) const;  // nothing when closed

  // The tail's words: 0, and nothing changed, without a tail.
  std::uint32_t load(std::uint32_t PenRingTail::*field) const;
  void add(std::uint32_t PenRingTail::*field, std::uint32_t amount) const;

  // The writer's append: false, writing nothing, when the ring is full (or
  // closed).
  bool append(PenSample sample) const;

  // The reader's take: the oldest sample, or nothing when the ring is empty
  // (or closed).
  std::optional<PenSample> take() const;

 private:
  static std::uint32_t reduced(std::uint32_t index) { return index % kPenRingCapacity; }
  void write_entry(std::uint32_t index, PenSample sample) const;
  PenSample read_entry(std::uint32_t index) const;

  PenRingBlock* block_ = nullptr;
  PenRingTail* tail_ = nullptr;
};

}  // namespace ductra::platform
