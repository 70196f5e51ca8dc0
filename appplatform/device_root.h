// The folder on the host that holds the device's file system, and the
// mapping of device paths ("\Windows\ductra_English.htm", "\temp\x.cab",
// "\Program Files\Ductra\qlmain.dt") to host paths under it.
//
// Device paths are matched to what already exists without regard to case,
// one component at a time; components that do not exist yet keep the
// spelling given. "." and ".." components, empty components and NUL units
// are refused, so a device path never leads outside the root.
#pragma once

#include <filesystem>
#include <string_view>

#include "appplatform/status.h"

namespace ductra::platform {

class DeviceRoot {
 public:
  explicit DeviceRoot(std::filesystem::path host) : host_(std::move(host)) {}

  // $DUCTRA_DEVICE_ROOT, else $XDG_DATA_HOME/ductra, else
  // ~/.local/share/ductra.
  static DeviceRoot from_environment();

  const std::filesystem::path& host() const { return host_; }

  // Creates the root and the device's standard folders ("\Windows",
  // "\Windows\StartUp", "\temp", "\Program Files\Ductra") when missing.
  Status prepare() const;

  // The host path of a device path. A leading separator is optional;
  // both '\' and '/' separate components. "\" alone is the root itself.
  Status to_host(std::u16string_view device_path, std::filesystem::path* host) const;

 private:
  std::filesystem::path host_;
};

}  // namespace ductra::platform
