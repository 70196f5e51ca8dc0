// Where the device's window server listens: a socket in the device's
// runtime folder. The device listens there (WindowServer::listen) and every
// other process of the device connects there (WindowClient::connect), so a
// program the launcher starts finds its device's windows from the
// environment alone.
#pragma once

#include <string>

#include "appplatform/runtime_dir.h"

namespace ductra::platform {

inline std::string window_server_socket(const RuntimeDir& runtime) {
  return runtime.object_path("socket", u"window server").string();
}

}  // namespace ductra::platform
