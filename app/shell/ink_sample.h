// A pen sample as the application's ring reader hands it out: the sample's
// kind (the touch driver's flags: 7 pen down, 15 move, 13 pen up), x and y in
// touch units (four to a pixel) of the touch panel's own orientation, and
// the tick count at which the touch shim received it.
#pragma once

#include <cstdint>

namespace ductra {

struct InkSample {
  std::uint32_t kind = 0;
  std::uint32_t x = 0;
  std::uint32_t y = 0;
  std::uint32_t tick = 0;

  friend bool operator==(const InkSample&, const InkSample&) = default;
};

}  // namespace ductra
