// Small helpers the dialogs, the settings pages and the controller share:
// opening a web page in the device's browser, the program's own folder,
// the platform's version, the input panel's state, a bold dialog item, the
// selected entry of a list box and colours from their components.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "appplatform/com/panel_records.h"
#include "appplatform/device_root.h"
#include "appplatform/draw/color.h"
#include "appplatform/program_map.h"
#include "appplatform/window_types.h"

namespace ductra {

// The device's browser.
inline constexpr std::u16string_view kBrowserProgram = u"\\Windows\\iexplore.exe";

// Starts the browser on `url`; true when it started.
bool open_url(const platform::DeviceRoot& root, const platform::ProgramMap& map, std::u16string_view url);

// open_url of the localised string `id`; false when there is no such string.
bool open_url_by_string(const platform::DeviceRoot& root, const platform::ProgramMap& map, std::uint32_t id);

// What precedes the last backslash of a device path (all of it when it has
// none).
std::u16string_view directory_of(std::u16string_view device_path);

// The running program's folder as a device path, without a trailing
// backslash.
std::u16string exe_directory();

// The platform's major version number.
int os_major_version();

// Asks the platform for the input panel's state; false when it cannot.
using SipInfoQuery = std::function<bool(platform::SipInfo& info)>;

// Whether the input panel is on and has a panel of positive height; false
// when the query fails.
bool sip_is_shown(const SipInfoQuery& query);

// Gives item `item` of `dialog` a copy of its current font in bold
// (weight 700); a missing item is skipped.
void set_dialog_item_bold(platform::WindowHandle dialog, int item);

// The item data of the selected entry of list box `list` in `dialog`; 0
// when nothing is selected or there is no such list.
std::uintptr_t list_selected_data(platform::WindowHandle dialog, int list);

// The colour of red, green and blue components (0 to 255); black when any
// lies outside that range.
platform::ColorRef make_rgb(int red, int green, int blue);

}  // namespace ductra
