#include "device/device_options.h"

#include <string_view>

namespace ductra::device {

std::optional<DeviceOptions> parse_device_options(int argc, const char* const* argv, std::string* error) {
  DeviceOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--headless") {
      options.headless = true;
    } else if (word == "--help" || word == "-h") {
      options.help = true;
    } else if (word == "--replay" && i + 1 < argc) {
      options.replay = argv[++i];
    } else {
      *error = "unknown or incomplete option: " + std::string(word);
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace ductra::device
