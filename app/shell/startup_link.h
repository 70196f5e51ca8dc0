// The link in the device's start-up folder that the installer leaves so the
// application starts with the device; the first run removes it.
#pragma once

#include <string_view>

#include "appplatform/device_root.h"

namespace ductra {

inline constexpr std::u16string_view kStartupLinkName = u"\\Ductra.lnk";

// Deletes the link; a missing link is no error.
void remove_startup_link(const platform::DeviceRoot& root);

}  // namespace ductra
