// The touch shim's routing of pen samples: each sample the touch driver
// delivers goes into the pen-sample ring as ink for the application, on to
// the system as ordinary pen input, or nowhere.
//
// The application steers the routing through the ring's header words, read
// afresh at every sample: with capture on, a stroke that starts on ordinary
// content is held back until it has moved more than the move tolerance
// (ink: the held samples and the rest of the stroke go to the ring) or has
// stayed within it for the hold time (a press-and-hold: everything goes to
// the system); a tap goes to the system whole, and so does a stroke that
// starts on a button, a scroll bar, a trackbar or one of the application's
// own windows. With always-capture on, every sample goes to the ring. While
// the application is not alive, every sample goes to the system.
//
// Used on the touch driver's sampling thread only, one sample at a time;
// no allocation per sample.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "appplatform/pen_ring.h"
#include "touchshim/routing_host.h"
#include "touchshim/window_query.h"

namespace ductra::tapshim {

// Most samples held back while a stroke is undecided; later ones are dropped.
inline constexpr std::size_t kMaxHeldSamples = 700;

// Results of route().
inline constexpr std::int32_t kSampleTaken = 1;
inline constexpr std::int32_t kSampleSwallowed = -1;

class SampleRouter {
 public:
  // `host` and `windows` must outlive the router.
  SampleRouter(RoutingHost& host, const WindowQuery& windows);

  // The ring to route into; a closed ring passes everything to the system.
  void set_ring(platform::PenRing ring) { ring_ = ring; }
  const platform::PenRing& ring() const { return ring_; }

  // Routes one sample: the system callback's result when it went to the
  // system, kSampleTaken when it went to the ring or was held back,
  // kSampleSwallowed when it was dropped as the rest of a swallowed stroke.
  std::int32_t route(std::uint32_t flags, std::int32_t x, std::int32_t y);

  // Sets the prompt-stroke event and withdraws the application's request.
  void signal_prompt_stroke_ended();

  std::size_t held_count() const { return held_count_; }

 private:
  enum class Decision { hold_back, capture, system };

  std::uint32_t word(std::uint32_t platform::PenRingHeader::*field) const { return ring_.load(field); }
  std::int32_t pass(std::uint32_t flags, std::int32_t x, std::int32_t y);
  bool is_application_alive();
  ScreenPoint screen_point(std::int32_t x, std::int32_t y);
  Decision hold_test(std::uint32_t flags, std::int32_t x, std::int32_t y);
  std::int32_t hold_back(std::uint32_t flags, std::int32_t x, std::int32_t y);
  std::int32_t capture(std::uint32_t flags, std::int32_t x, std::int32_t y);
  bool is_repeated_point(std::uint32_t flags, std::int32_t x, std::int32_t y);
  void write_held_to_ring();
  void replay_held();

  RoutingHost& host_;
  const WindowQuery& windows_;
  platform::PenRing ring_;
  std::array<platform::PenSample, kMaxHeldSamples> held_{};
  std::size_t held_count_ = 0;
  std::int32_t start_x_ = 0;
  std::int32_t start_y_ = 0;
  std::uint32_t start_tick_ = 0;
  bool pass_through_ = false;
  bool suppress_ = false;
  std::int32_t repeat_x_ = -1;
  std::int32_t repeat_y_ = -1;
  int cached_orientation_ = 8;  // matches no orientation
  ScreenSize cached_size_;
};

}  // namespace ductra::tapshim
