// What the application asks the system about its screen: the size and
// density of the display, its orientation, whether a device file exists and
// the height of a window of a given class. The application binds it to the
// device's window system and files; tests give fixed answers.
#pragma once

#include <optional>
#include <string_view>

namespace ductra {

class ScreenPlatform {
 public:
  virtual ~ScreenPlatform() = default;

  // Screen width and height in pixels, in the current orientation.
  virtual int screen_width() const = 0;
  virtual int screen_height() const = 0;

  // Dots per inch along x.
  virtual int logical_pixels_x() const = 0;

  // The display settings' orientation field (0, 1 for 90 degrees, 2 for
  // 180, 4 for 270); nothing when the query fails.
  virtual std::optional<int> display_orientation() const = 0;

  // Whether the file at a device path ("\windows\...") exists.
  virtual bool device_file_exists(std::u16string_view device_path) const = 0;

  // The height of the window rectangle of a window of class `class_name`;
  // nothing when no such window exists.
  virtual std::optional<int> window_height_of_class(std::u16string_view class_name) const = 0;
};

}  // namespace ductra
