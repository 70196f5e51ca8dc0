#include "app/shell/screen_metrics.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace ductra {

namespace {

// The metrics packed into one word: width and height 16 bits each, the
// orientation and the scale 8 bits each.
constexpr int kLargestSize = 0xFFFF;
constexpr int kLargestScale = 0xFF;

std::uint64_t pack(const ScreenMetrics& metrics) {
  return static_cast<std::uint64_t>(std::clamp(metrics.width, 0, kLargestSize)) |
         static_cast<std::uint64_t>(std::clamp(metrics.height, 0, kLargestSize)) << 16 |
         static_cast<std::uint64_t>(metrics.orientation) << 32 |
         static_cast<std::uint64_t>(std::clamp(metrics.display_scale, 1, kLargestScale)) << 40;
}

ScreenMetrics unpack(std::uint64_t word) {
  return {.display_scale = static_cast<int>(word >> 40 & 0xFF),
          .width = static_cast<int>(word & 0xFFFF),
          .height = static_cast<int>(word >> 16 & 0xFFFF),
          .orientation = static_cast<int>(word >> 32 & 0xFF)};
}

std::atomic<std::uint64_t> published{pack(ScreenMetrics{})};

}  // namespace

int display_orientation(const ScreenPlatform& platform) {
  const int orientation = platform.display_orientation().value_or(0);
  switch (orientation) {
    case 1:
    case 2:
    case 4:
      return orientation;
    default:
      return 0;
  }
}

void init_screen_globals(const ScreenPlatform& platform) {
  const ScreenMetrics metrics{.display_scale = std::max(platform.logical_pixels_x() / 96, 1),
                              .width = platform.screen_width(),
                              .height = platform.screen_height(),
                              .orientation = display_orientation(platform)};
  published.store(pack(metrics));
}

ScreenMetrics screen_metrics() { return unpack(published.load()); }

}  // namespace ductra
