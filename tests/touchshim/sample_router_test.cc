#include "touchshim/sample_router.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "tests/touchshim/fake_routing.h"

namespace ductra::tapshim {
namespace {

using platform::kPenAway;
using platform::kPenDown;
using platform::kPenMove;
using platform::kPenUp;
using platform::PenRing;
using platform::PenRingBlock;
using platform::PenRingHeader;

constexpr std::int32_t S = 7;  // the fake system callback's result
constexpr std::int32_t T = kSampleTaken;
constexpr std::int32_t W = kSampleSwallowed;

struct Mode {
  std::uint32_t capture_on;
  std::uint32_t always_capture;
};

struct Step {
  std::uint32_t flags;
  std::int32_t x;
  std::int32_t y;
  std::uint32_t tick = 1000;
  std::int32_t result = T;
  std::optional<Mode> mode = std::nullopt;          // set before the sample
  std::optional<Liveness> liveness = std::nullopt;  // likewise
};

struct Case {
  const char* name;
  Mode mode;
  std::uint32_t prompt_stroke;
  bool scrolling;
  std::vector<Step> steps;
  std::vector<Touch> system;
  std::vector<Touch> ring;
  int prompt_events;
};

// A ring as the shim opens it, the fakes and the router between them.
class Routing {
 public:
  Routing() {
    ring_.initialize();
    router_.set_ring(ring_);
  }

  PenRingHeader& header() { return reinterpret_cast<PenRingBlock*>(bytes_.data())->header; }

  std::vector<Touch> ring_contents() {
    std::vector<Touch> samples;
    while (const std::optional<platform::PenSample> sample = ring_.take()) {
      samples.push_back({sample->flags(), static_cast<std::int32_t>(sample->x()), static_cast<std::int32_t>(sample->y())});
    }
    return samples;
  }

  alignas(8) std::array<std::byte, platform::kPenRingBytes> bytes_{};
  PenRing ring_{bytes_};
  FakeHost host_;
  FakeWindows windows_;
  SampleRouter router_{host_, windows_};
};

void set_mode(Routing& routing, Mode mode) {
  routing.header().capture_on_ = mode.capture_on;
  routing.header().always_capture_ = mode.always_capture;
}

TEST(SampleRouterTest, EveryModeRoutesAsTheApplicationAsks) {
  const Case cases[] = {
      {"a tap goes to the system whole, held samples first", {1, 0}, 0, false,
       {{kPenDown, 400, 400, 1000}, {kPenMove, 410, 400, 1050}, {kPenMove, 420, 410, 1100},
        {kPenUp, 420, 410, 1150, S}},
       {{kPenDown, 400, 400}, {kPenMove, 410, 400}, {kPenMove, 420, 410}, {kPenUp, 420, 410}}, {}, 1},
      {"a move of 40 units is still a tap", {1, 0}, 0, false,
       {{kPenDown, 400, 400}, {kPenMove, 420, 420}, {kPenUp, 420, 420, 1000, S}},
       {{kPenDown, 400, 400}, {kPenMove, 420, 420}, {kPenUp, 420, 420}}, {}, 1},
      {"41 units flush the held samples and the rest of the stroke to the ring", {1, 0}, 0, false,
       {{kPenDown, 400, 400}, {kPenMove, 420, 400}, {kPenMove, 441, 400}, {kPenMove, 460, 400},
        {kPenUp, 460, 400}},
       {},
       {{kPenDown, 400, 400}, {kPenMove, 420, 400}, {kPenMove, 441, 400}, {kPenMove, 460, 400},
        {kPenUp, 460, 400}},
       1},
      {"a pen held still for 300 ms goes to the system", {1, 0}, 0, false,
       {{kPenDown, 400, 400, 1000}, {kPenMove, 405, 400, 1299}, {kPenMove, 410, 400, 1300, S},
        {kPenMove, 600, 400, 1350, S}, {kPenUp, 600, 400, 1400, S}},
       {{kPenDown, 400, 400}, {kPenMove, 405, 400}, {kPenMove, 410, 400}, {kPenMove, 600, 400}, {kPenUp, 600, 400}},
       {}, 1},
      {"a stroke from a button goes to the system without a hold test", {1, 0}, 0, false,
       {{kPenDown, 80, 80, 1000, S}, {kPenMove, 300, 80, 1010, S}, {kPenUp, 300, 80, 1020, S}},
       {{kPenDown, 80, 80}, {kPenMove, 300, 80}, {kPenUp, 300, 80}}, {}, 1},
      {"a stroke from another child is held as usual", {1, 0}, 0, false,
       {{kPenDown, 280, 80}, {kPenMove, 380, 80}, {kPenUp, 380, 80}},
       {}, {{kPenDown, 280, 80}, {kPenMove, 380, 80}, {kPenUp, 380, 80}}, 1},
      {"a stroke from an active scroll bar's strip goes to the system", {1, 0}, 0, true,
       {{kPenDown, 940, 400, 1000, S}, {kPenMove, 940, 600, 1010, S}, {kPenUp, 940, 600, 1020, S}},
       {{kPenDown, 940, 400}, {kPenMove, 940, 600}, {kPenUp, 940, 600}}, {}, 1},
      {"the same point without a scroll bar is ink", {1, 0}, 0, false,
       {{kPenDown, 940, 400}, {kPenMove, 940, 600}},
       {}, {{kPenDown, 940, 400}, {kPenMove, 940, 600}}, 1},
      {"always-capture drops repeated moves but keeps the pen-up", {1, 1}, 0, false,
       {{kPenDown, 400, 400}, {kPenMove, 404, 404}, {kPenMove, 404, 404}, {kPenUp, 404, 404}},
       {}, {{kPenDown, 400, 400}, {kPenMove, 404, 404}, {kPenUp, 404, 404}}, 1},
      {"capture off: everything to the system", {0, 0}, 0, false,
       {{kPenDown, 400, 400, 1000, S}, {kPenMove, 500, 400, 1000, S}, {kPenUp, 500, 400, 1000, S}},
       {{kPenDown, 400, 400}, {kPenMove, 500, 400}, {kPenUp, 500, 400}}, {}, 0},
      {"capture off with a prompt stroke: its pen-up sets the event", {0, 0}, 1, false,
       {{kPenDown, 400, 400, 1000, S}, {kPenUp, 400, 400, 1000, S}, {kPenDown, 400, 400, 1000, S},
        {kPenUp, 400, 400, 1000, S}},
       {{kPenDown, 400, 400}, {kPenUp, 400, 400}, {kPenDown, 400, 400}, {kPenUp, 400, 400}}, {}, 1},
      {"a sample away from the panel also ends the prompt stroke", {0, 0}, 1, false,
       {{kPenAway, 400, 400, 1000, S}}, {{kPenAway, 400, 400}}, {}, 1},
      {"handing over swallows everything", {0, 1}, 0, false,
       {{kPenDown, 400, 400, 1000, W}, {kPenMove, 500, 400, 1000, W}, {kPenUp, 500, 400, 1000, W}},
       {}, {}, 0},
      {"handing over with a prompt stroke passes it to the system", {0, 1}, 1, false,
       {{kPenDown, 400, 400, 1000, S}, {kPenUp, 400, 400, 1000, S}, {kPenDown, 400, 400, 1000, W}},
       {{kPenDown, 400, 400}, {kPenUp, 400, 400}}, {}, 1},
      {"a swallowed stroke stays swallowed up to its pen-up when capture goes off", {0, 1}, 0, false,
       {{kPenDown, 400, 400, 1000, W},
        {.flags = kPenMove, .x = 500, .y = 400, .result = W, .mode = Mode{0, 0}},
        {kPenUp, 500, 400, 1000, W},
        {kPenDown, 400, 400, 1000, S}},
       {{kPenDown, 400, 400}}, {}, 0},
      {"the application killed in mid-stroke: the rest goes to the system", {1, 1}, 0, false,
       {{kPenDown, 400, 400},
        {.flags = kPenMove, .x = 500, .y = 400, .result = S, .liveness = Liveness::gone},
        {kPenUp, 500, 400, 1000, S}},
       {{kPenMove, 500, 400}, {kPenUp, 500, 400}}, {{kPenDown, 400, 400}}, 1},
      {"no application at pen down: to the system", {1, 0}, 1, false,
       {{.flags = kPenDown, .x = 400, .y = 400, .result = S, .liveness = Liveness::unknown}},
       {{kPenDown, 400, 400}}, {}, 1},
      {"coordinates beyond 12 bits are clamped, not wrapped", {1, 0}, 0, false,
       {{kPenDown, 5000, -3}, {kPenUp, 5000, -3, 1000, S}},
       {{kPenDown, 4095, 0}, {kPenUp, 5000, -3}}, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Routing routing;
    set_mode(routing, c.mode);
    routing.header().prompt_stroke_ = c.prompt_stroke;
    routing.windows_.scrolling = c.scrolling;
    for (const Step& step : c.steps) {
      if (step.mode) set_mode(routing, *step.mode);
      if (step.liveness) routing.host_.liveness = *step.liveness;
      routing.host_.tick = step.tick;
      EXPECT_EQ(routing.router_.route(step.flags, step.x, step.y), step.result) << step.flags << " " << step.x;
    }
    EXPECT_EQ(routing.host_.to_system, c.system);
    EXPECT_EQ(routing.ring_contents(), c.ring);
    EXPECT_EQ(routing.host_.prompt_events, c.prompt_events);
    if (c.prompt_events > 0) {
      EXPECT_EQ(routing.header().prompt_stroke_, 0u);
    }
  }
}

TEST(SampleRouterTest, HeldSamplesKeepTheTickOfTheirArrival) {
  Routing routing;
  set_mode(routing, {1, 0});
  const std::array<Step, 3> steps = {{{kPenDown, 400, 400, 5000}, {kPenMove, 410, 400, 5100}, {kPenMove, 500, 400, 5200}}};
  for (const Step& step : steps) {
    routing.host_.tick = step.tick;
    routing.router_.route(step.flags, step.x, step.y);
  }
  std::vector<std::uint32_t> ticks;
  while (const auto sample = routing.ring_.take()) ticks.push_back(sample->tick);
  EXPECT_EQ(ticks, (std::vector<std::uint32_t>{5000, 5100, 5200}));
  EXPECT_EQ(routing.host_.yields, 1);
}

// 700 moves at distinct points near the down point: with the pen-down, the
// last one is the 701st sample held back.
TEST(SampleRouterTest, The701stHeldSampleIsDropped) {
  std::vector<Touch> moves;
  for (std::int32_t dx = -20; dx <= 20; ++dx) {
    for (std::int32_t dy = -20; dy <= 20; ++dy) {
      if (dx != 0 || dy != 0) moves.push_back({kPenMove, 400 + dx, 400 + dy});
    }
  }
  moves.resize(700);
  Routing routing;
  set_mode(routing, {1, 0});
  routing.router_.route(kPenDown, 400, 400);
  for (const Touch& move : moves) EXPECT_EQ(routing.router_.route(move.flags, move.x, move.y), T);
  EXPECT_EQ(routing.router_.held_count(), kMaxHeldSamples);
  EXPECT_EQ(routing.router_.route(kPenUp, 400, 400), S);
  ASSERT_EQ(routing.host_.to_system.size(), kMaxHeldSamples + 1);
  EXPECT_EQ(routing.host_.to_system.front(), (Touch{kPenDown, 400, 400}));
  EXPECT_EQ(routing.host_.to_system[699], moves[698]);
  EXPECT_EQ(routing.host_.to_system.back(), (Touch{kPenUp, 400, 400}));
}

TEST(SampleRouterTest, AFullRingEndsTheFlush) {
  Routing routing;
  set_mode(routing, {1, 0});
  routing.header().write_index_ = 797;  // room for two more
  routing.header().read_index_ = 0;
  routing.router_.route(kPenDown, 400, 400);
  routing.router_.route(kPenMove, 410, 400);
  routing.router_.route(kPenMove, 420, 400);
  routing.router_.route(kPenMove, 500, 400);
  EXPECT_EQ(routing.header().write_index_, 799u);
  EXPECT_EQ(routing.header().read_index_, 0u);
}

TEST(SampleRouterTest, TheWindowTestLooksAtThePixelOfTheRotatedScreen) {
  struct Case {
    std::optional<int> orientation;
    ScreenSize size;
    std::int32_t x, y;
    ScreenPoint pixel;
  };
  const Case cases[] = {
      {1, {240, 320}, 100, 200, {190, 25}},
      {2, {240, 320}, 100, 200, {215, 270}},
      {4, {320, 240}, 100, 200, {50, 215}},
      {0, {240, 320}, 100, 200, {25, 50}},
      {std::nullopt, {240, 320}, 100, 200, {25, 50}},  // a failed query
  };
  for (const Case& c : cases) {
    Routing routing;
    set_mode(routing, {1, 0});
    routing.host_.orientation = c.orientation;
    routing.host_.size = c.size;
    routing.router_.route(kPenDown, c.x, c.y);
    ASSERT_EQ(routing.windows_.asked.size(), 1u);
    EXPECT_EQ(routing.windows_.asked[0].x, c.pixel.x) << c.orientation.value_or(-1);
    EXPECT_EQ(routing.windows_.asked[0].y, c.pixel.y) << c.orientation.value_or(-1);
  }
}

TEST(SampleRouterTest, TheScreenSizeIsReadAgainOnlyWhenTheOrientationChanges) {
  Routing routing;
  set_mode(routing, {1, 0});
  for (std::optional<int> orientation : {0, 0, 1, 1, 0}) {
    routing.host_.orientation = orientation;
    routing.router_.route(kPenDown, 400, 400);
    routing.router_.route(kPenUp, 400, 400);
  }
  EXPECT_EQ(routing.host_.size_reads, 3);
}

TEST(SampleRouterTest, WithoutARingEverythingGoesToTheSystem) {
  FakeHost host;
  FakeWindows windows;
  SampleRouter router(host, windows);
  EXPECT_EQ(router.route(kPenDown, 1, 2), S);
  EXPECT_EQ(host.to_system, (std::vector<Touch>{{kPenDown, 1, 2}}));
  EXPECT_EQ(host.prompt_events, 0);
}

}  // namespace
}  // namespace ductra::tapshim
