// The screen as the device shows it to this program: the size and
// orientation its window server reports, the pixels per inch the device
// plays (platform::SystemFacts), files of the device's root and the windows
// of other programs on the same server. The program's ScreenPlatform.
#pragma once

#include "app/shell/screen_platform.h"
#include "appplatform/device_root.h"
#include "appplatform/window_system.h"

namespace ductra {

class DeviceScreen final : public ScreenPlatform {
 public:
  // Everything given must outlive the object.
  DeviceScreen(platform::WindowSystem& windows, const platform::DeviceRoot& root, int pixels_per_inch)
      : windows_(windows), root_(root), pixels_per_inch_(pixels_per_inch) {}

  int screen_width() const override;
  int screen_height() const override;
  int logical_pixels_x() const override { return pixels_per_inch_; }
  std::optional<int> display_orientation() const override;
  bool device_file_exists(std::u16string_view device_path) const override;
  std::optional<int> window_height_of_class(std::u16string_view class_name) const override;

 private:
  platform::WindowSystem& windows_;
  const platform::DeviceRoot& root_;
  const int pixels_per_inch_;
};

}  // namespace ductra
