// ductra-device: the handheld Ductra runs on, on this desktop.
#include <cstdio>

#include "device/device.h"
#include "device/device_options.h"

int main(int argc, char** argv) {
  std::string error;
  const std::optional<ductra::device::DeviceOptions> options = ductra::device::parse_device_options(argc, argv, &error);
  if (!options) {
    std::fprintf(stderr, "ductra-device: %s\n%s", error.c_str(), ductra::device::kDeviceUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(ductra::device::kDeviceUsage, stdout);
    return 0;
  }
  return ductra::device::run_device(*options);
}
