// Where the device finds what it installs into a device root: the default
// data (the data file and word lists), the libraries it loads (the touch
// shim, the touch drivers, the input-panel component) and the application.
// They lie beside the device's program as the build and the installation
// place them: libraries in ../lib (or the installation's library folder),
// data in ../share/inkrec, else in the source tree's data folder.
#pragma once

#include <filesystem>

namespace ductra::device {

struct DeviceFiles {
  std::filesystem::path data_dir;
  std::filesystem::path library_dir;

  static DeviceFiles beside_this_program();

  std::filesystem::path library(const char* file_name) const { return library_dir / file_name; }
};

inline constexpr char kShimLibrary[] = "libtapshim.so";
inline constexpr char kComponentLibrary[] = "libquillpad.so";
inline constexpr char kReplayDriverLibrary[] = "libtapshim_replay_driver.so";
inline constexpr char kPointerDriverLibrary[] = "libtapshim_x11_driver.so";

}  // namespace ductra::device
