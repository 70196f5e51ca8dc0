#include "touchshim/x11/pointer_stroke.h"

#include <algorithm>
#include <cmath>

#include "appplatform/pen_ring.h"

namespace ductra::tapshim {
namespace {

constexpr int kWritingButton = 1;
constexpr std::int32_t kLargestTouchUnit = 4095;
constexpr double kTouchUnitsPerPixel = 4.0;

}  // namespace

PointerStroke::PointerStroke(int scale) : scale_(std::max(scale, 1)) {}

TouchSample PointerStroke::sample(std::uint32_t flags, double window_x, double window_y) const {
  const auto touch = [this](double window) {
    const double units = std::round(window * kTouchUnitsPerPixel / scale_);
    if (!(units > 0)) return std::int32_t{0};  // left of or above the window, or no number at all
    return static_cast<std::int32_t>(std::min(units, static_cast<double>(kLargestTouchUnit)));
  };
  return {flags, touch(window_x), touch(window_y)};
}

std::optional<TouchSample> PointerStroke::press(int button, double window_x, double window_y) {
  if (button != kWritingButton || down_) return std::nullopt;
  down_ = true;
  return sample(platform::kPenDown, window_x, window_y);
}

std::optional<TouchSample> PointerStroke::move(double window_x, double window_y) {
  if (!down_) return std::nullopt;
  return sample(platform::kPenMove, window_x, window_y);
}

std::optional<TouchSample> PointerStroke::release(int button, double window_x, double window_y) {
  if (button != kWritingButton || !down_) return std::nullopt;
  down_ = false;
  return sample(platform::kPenUp, window_x, window_y);
}

}  // namespace ductra::tapshim
