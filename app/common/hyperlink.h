// A static text control of a dialog turned into a web link: its text in
// blue and underlined, a focus rectangle while it has the focus, and the
// page opened when the pen is lifted while the link holds the capture or
// when Enter is pressed on it.
//
// The link keeps no object: the URL's string id lives in the control's
// user data (0: the control's own text is the address) and the static
// control's replaced window procedure in one process-wide variable shared
// by every link, so links are attached only to ordinary static controls.
// UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "appplatform/window_types.h"

namespace ductra {

class Hyperlink {
 public:
  // Opens an address; true when the browser started.
  using UrlOpener = std::function<bool(std::u16string_view url)>;

  // Makes control `control_id` of `dialog` a link showing the localised
  // string `text_id` and opening the localised string `url_id` (0: its own
  // text) through `opener`, which every link then uses. A missing control
  // is skipped.
  static void attach(platform::WindowHandle dialog, int control_id, std::uint32_t text_id, std::uint32_t url_id,
                     UrlOpener opener);

  static platform::MessageResult window_proc(platform::WindowHandle window, std::uint32_t message,
                                             platform::WParam wparam, platform::LParam lparam);
};

}  // namespace ductra
