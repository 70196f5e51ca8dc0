// Paths of files installed with the application: the folder the installer
// recorded (HKLM "SOFTWARE\Apps\Korvale Software Ductra 9.0" "InstallDir"),
// else "\Program Files\Ductra", followed by "\" and the file's name. The
// application and its input-panel component both find their files so.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "appplatform/registry.h"

namespace ductra::platform {

inline constexpr std::u16string_view kInstallKey = u"SOFTWARE\\Apps\\Korvale Software Ductra 9.0";
inline constexpr std::u16string_view kDefaultInstallDir = u"\\Program Files\\Ductra";
// The longest folder taken from the registry, in UTF-16 units.
inline constexpr std::size_t kMaxInstallDir = 259;

// The recorded folder counts when it is a string of 1 to kMaxInstallDir
// units (up to its first 0 unit, whether or not one was stored); anything
// else gives the default folder. So a path is never longer than
// kMaxInstallDir + 1 + the name.
std::u16string install_dir_path(const Registry& registry, std::u16string_view name);

}  // namespace ductra::platform
