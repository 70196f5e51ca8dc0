#include "app/shell/screen_info.h"

#include <algorithm>

namespace ductra {

ScreenInfo::ScreenInfo(const ScreenPlatform& platform) : platform_(platform) {
  smartphone_ = platform_.device_file_exists(u"\\windows\\home.cpl.xml");
  logical_pixels_x_ = platform_.logical_pixels_x();
  refresh();
  resolution_class_ = classify_resolution();
  bottom_bar_height_ = platform_.window_height_of_class(u"MS_SIPBUTTON").value_or(bottom_bar_height_of_class());
}

ScreenInfo& ScreenInfo::instance(const ScreenPlatform& platform) {
  static ScreenInfo info(platform);
  return info;
}

bool ScreenInfo::refresh() {
  const bool was_landscape = is_landscape();
  width_ = platform_.screen_width();
  height_ = platform_.screen_height();
  return is_landscape() != was_landscape;
}

int ScreenInfo::classify_resolution() const {
  switch (std::min(width_, height_)) {
    case 176:
      return 176;
    case 320:
      return width_ == height_ ? 320 : 240;
    case 480:
      return 480;
    default:
      return 240;
  }
}

int ScreenInfo::bottom_bar_height_of_class() const {
  switch (resolution_class_) {
    case 176:
      return 20;
    case 320:
      return 35;
    case 480:
      return 52;
    default:
      return smartphone_ ? 27 : 26;
  }
}

}  // namespace ductra
