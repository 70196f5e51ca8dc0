// Everything the touch shim's sample routing reaches outside itself, so the
// routing can be driven sample by sample in tests: the tick count, the
// system's sample callback, the probe of the application's alive marker,
// the prompt-stroke event, the display's orientation and size, and a yield
// of the processor.
#pragma once

#include <cstdint>
#include <optional>

namespace ductra::tapshim {

enum class Liveness {
  alive,
  gone,
  unknown,  // the marker could not be probed
};

struct ScreenSize {
  std::int32_t width = 0;   // pixels
  std::int32_t height = 0;
};

class RoutingHost {
 public:
  virtual ~RoutingHost() = default;

  virtual std::uint32_t tick_count() const = 0;

  // Hands a sample to the system; its callback's result, 0 when the system
  // has given no callback.
  virtual std::int32_t pass_to_system(std::uint32_t flags, std::int32_t x, std::int32_t y) = 0;

  // Whether the application runs. Probing changes nothing.
  virtual Liveness probe_application() const = 0;

  // Sets the event "Korvale Software Ductra prompt stroke ended Event".
  virtual void set_prompt_stroke_event() = 0;

  // The display's orientation (0, 1, 2 or 4); nothing when the query fails.
  virtual std::optional<int> display_orientation() const = 0;
  virtual ScreenSize screen_size() const = 0;

  // Lets other threads and processes run once.
  virtual void yield() = 0;
};

}  // namespace ductra::tapshim
