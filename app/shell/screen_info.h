// What the application's small windows need to know about the screen: its
// size, the height of the bottom bar they sit against, the density and the
// resolution class (176, 240, 320 or 480). One instance serves the process;
// it is built on first use and lives until exit. Used on the UI thread.
#pragma once

#include "app/shell/screen_platform.h"

namespace ductra {

class ScreenInfo {
 public:
  // Reads everything from `platform`, which must outlive the object.
  explicit ScreenInfo(const ScreenPlatform& platform);

  ScreenInfo(const ScreenInfo&) = delete;
  ScreenInfo& operator=(const ScreenInfo&) = delete;

  // The process's instance, built from `platform` on the first call (later
  // calls ignore the argument).
  static ScreenInfo& instance(const ScreenPlatform& platform);

  // Re-reads the screen size; true when that turned the screen from
  // portrait to landscape or back (the first read compares with 0 x 0).
  bool refresh();

  bool is_landscape() const { return height_ < width_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int bottom_bar_height() const { return bottom_bar_height_; }
  int logical_pixels_x() const { return logical_pixels_x_; }
  int resolution_class() const { return resolution_class_; }
  bool is_smartphone() const { return smartphone_; }

 private:
  int classify_resolution() const;
  int bottom_bar_height_of_class() const;

  const ScreenPlatform& platform_;
  int width_ = 0;
  int height_ = 0;
  int bottom_bar_height_ = 0;
  int logical_pixels_x_ = 0;
  int resolution_class_ = 0;
  bool smartphone_ = false;
};

}  // namespace ductra
