// Requests the device records instead of carrying them out: a reboot, and
// the cabinet installer's runs (program and parameters). One line each, in
// the file "requests.log" under the device root, in the order made; any
// process of the device may add to it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "appplatform/device_root.h"
#include "appplatform/status.h"

namespace ductra::platform {

Status record_request(const DeviceRoot& root, std::u16string_view line);
std::vector<std::u16string> recorded_requests(const DeviceRoot& root);

// The device's restart: recorded as the line "reboot", never carried out.
Status request_reboot(const DeviceRoot& root);

}  // namespace ductra::platform
