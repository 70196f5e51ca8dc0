// Installing the extra cabinet after the program's own installation (the
// "reboot" start): skipped when the maker's utilities say they are
// installed (the cabinet file is then deleted); on platform versions 4 and
// older the cabinet is first cut to the size its header declares; any
// installer still running is waited for; then the platform's installer
// "wceload.exe" runs without user interface and is waited for, without time
// limit. Runs on the start-up thread before any window exists.
#pragma once

#include <string_view>

#include "appplatform/device_root.h"
#include "appplatform/program_map.h"
#include "appplatform/registry.h"

namespace ductra {

inline constexpr std::u16string_view kUtilitiesKey = u"Software\\Apps\\Korvale Utilities";
inline constexpr std::u16string_view kUtilitiesInstalledValue = u"Instl";
inline constexpr std::u16string_view kInstallerProgram = u"wceload.exe";

struct CabinetPlatform {
  const platform::DeviceRoot& root;
  const platform::Registry& registry;
  const platform::ProgramMap& programs;
  int os_major_version = 5;
};

// Whether HKLM "Software\Apps\Korvale Utilities" "Instl" is non-zero (a
// missing key or value is 0).
bool cab_already_installed(const platform::Registry& registry);

// Cuts the cabinet at `device_path` to the size its header declares (32
// bits, little-endian, at byte 8); a file already that size or shorter is
// left as it is, so a file is never made longer. False when the file cannot
// be opened, made writable or its size field read.
bool trim_cab(const platform::DeviceRoot& root, std::u16string_view device_path);

// Waits, without time limit, for the first running "wceload.exe" (any case).
void wait_for_installer(const platform::DeviceRoot& root);

void install_cab(const CabinetPlatform& platform, std::u16string_view device_path);

}  // namespace ductra
