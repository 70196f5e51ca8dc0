// The pen as the X11 touch driver sees it: presses, moves and releases of
// the first button (a mouse's left button, a tablet pen's tip) over the
// device's window become touch samples. Window pixels show the device's
// screen scaled by a whole factor; a touch unit is a quarter of a screen
// pixel, so a pen's fractional positions keep their precision. Samples lie
// in 0..4095 (12 bits). Other buttons and moves without the button are no
// samples.
#pragma once

#include <cstdint>
#include <optional>

namespace ductra::tapshim {

struct TouchSample {
  std::uint32_t flags;
  std::int32_t x;
  std::int32_t y;
};

class PointerStroke {
 public:
  // `scale`: window pixels a side of one screen pixel (at least 1).
  explicit PointerStroke(int scale);

  std::optional<TouchSample> press(int button, double window_x, double window_y);
  std::optional<TouchSample> move(double window_x, double window_y);
  std::optional<TouchSample> release(int button, double window_x, double window_y);

 private:
  TouchSample sample(std::uint32_t flags, double window_x, double window_y) const;

  int scale_;
  bool down_ = false;
};

}  // namespace ductra::tapshim
