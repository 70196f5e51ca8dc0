// Paths of files installed with the application: the folder the installer
// recorded, else "\Program Files\Ductra", followed by "\" and the file's
// name (the platform's rule, install_dir.h).
#pragma once

#include <string>
#include <string_view>

#include "appplatform/install_dir.h"
#include "appplatform/registry.h"

namespace ductra {

using platform::kDefaultInstallDir;
using platform::kInstallKey;
using platform::kMaxInstallDir;

inline std::u16string install_path(const platform::Registry& registry, std::u16string_view name) {
  return platform::install_dir_path(registry, name);
}

}  // namespace ductra
