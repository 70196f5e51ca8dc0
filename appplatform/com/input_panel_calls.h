// The input-panel manager's calls as any thread of any process of the
// device makes them (SipShowIM, SipSetCurrentIM, SipGetCurrentIM,
// SipGetInfo). Each is a message with integer arguments to the panel window
// (class "SipWndClass"), which the manager answers on its own thread; the
// caller waits, answering Sends to its own windows meanwhile, so an input
// method that sends to the caller's windows while it is switched does not
// deadlock. Every call fails (false, or nothing) while there is no panel.
#pragma once

#include <cstdint>
#include <optional>

#include "appplatform/com/guid.h"
#include "appplatform/com/panel_records.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

// The panel window's messages. A class identifier travels as its first
// eight bytes in wParam and its last eight in lParam; each answers 1 for
// yes (done), 0 for no.
inline constexpr std::uint32_t WM_PANEL_SHOW = WM_APP + 0x3F1;        // wParam: 1 show, 0 hide
inline constexpr std::uint32_t WM_PANEL_SET_CURRENT = WM_APP + 0x3F2;
inline constexpr std::uint32_t WM_PANEL_CURRENT_IS = WM_APP + 0x3F3;
inline constexpr std::uint32_t WM_PANEL_IS_SHOWN = WM_APP + 0x3F4;

WParam guid_first_half(const Guid& guid);
LParam guid_second_half(const Guid& guid);
Guid guid_from_halves(WParam first, LParam second);

// The panel's state record: `shown` decides the flags; the rectangles come
// from the panel window and the screen's work area (the part above the panel
// while it is shown).
SipInfo describe_panel(WindowSystem& system, WindowHandle panel, bool shown);

// Shows or hides the panel; true when done.
bool sip_show_im(bool on);
// Makes the registered input method `clsid` current; true when it is.
bool sip_set_current_im(const Guid& clsid);
// Whether `clsid` is the current input method; nothing when the manager
// cannot be asked.
std::optional<bool> sip_current_im_is(const Guid& clsid);
// The panel's state; false (and `info` untouched) unless info.cb_size is
// sizeof(SipInfo) and the manager answers.
bool sip_get_info(SipInfo& info);

}  // namespace ductra::platform
