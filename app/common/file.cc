#include "app/common/file.h"

#include <optional>
#include <string>

namespace ductra {
namespace {

// The mode as stdio takes it; nothing for a mode outside the accepted set.
std::optional<std::string> stdio_mode(std::u16string_view mode) {
  if (mode.empty() || (mode[0] != u'r' && mode[0] != u'w' && mode[0] != u'a')) return std::nullopt;
  std::string out(1, static_cast<char>(mode[0]));
  bool plus = false;
  bool binary = false;
  for (char16_t unit : mode.substr(1)) {
    bool& seen = unit == u'+' ? plus : binary;
    if ((unit != u'+' && unit != u'b') || seen) return std::nullopt;
    seen = true;
    out += static_cast<char>(unit);
  }
  return out;
}

}  // namespace

File::File(const platform::DeviceRoot& root, std::u16string_view device_path, std::u16string_view mode) {
  const std::optional<std::string> stdio = stdio_mode(mode);
  std::filesystem::path host;
  if (!stdio || root.to_host(device_path, &host) != platform::Status::ok) return;
  stream_.reset(std::fopen(host.c_str(), stdio->c_str()));
}

}  // namespace ductra
