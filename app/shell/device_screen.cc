#include "app/shell/device_screen.h"

#include "appplatform/device_file.h"

namespace ductra {

int DeviceScreen::screen_width() const { return windows_.screen().width; }

int DeviceScreen::screen_height() const { return windows_.screen().height; }

std::optional<int> DeviceScreen::display_orientation() const { return windows_.screen().orientation; }

bool DeviceScreen::device_file_exists(std::u16string_view device_path) const {
  platform::FileAttributes attributes;
  return platform::file_attributes(root_, device_path, &attributes) == platform::Status::ok;
}

std::optional<int> DeviceScreen::window_height_of_class(std::u16string_view class_name) const {
  const platform::WindowHandle window = windows_.find_window(class_name, std::nullopt);
  if (!window) return std::nullopt;
  const std::optional<platform::Rect> rect = windows_.window_rect(window);
  if (!rect) return std::nullopt;
  return rect->height();
}

}  // namespace ductra
