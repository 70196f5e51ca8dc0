#include "app/shell/startup_link.h"

#include <string>

#include "appplatform/device_file.h"

namespace ductra {

void remove_startup_link(const platform::DeviceRoot& root) {
  const std::u16string link = std::u16string(platform::startup_folder()) + std::u16string(kStartupLinkName);
  platform::delete_file(root, link);
}

}  // namespace ductra
