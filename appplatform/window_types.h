// The values every window call shares: handles, points, rectangles, messages
// and the numbers of the styles, flags and messages the application uses.
//
// A WindowHandle is a global id: the same number names the same window in
// every process of the device. Rectangles are half-open (right and bottom
// lie outside), as the application's geometry expects.
#pragma once

#include <compare>
#include <cstdint>

#include "appplatform/geometry.h"

namespace ductra::platform {

struct WindowHandle {
  std::uint32_t id = 0;

  explicit operator bool() const { return id != 0; }
  friend auto operator<=>(const WindowHandle&, const WindowHandle&) = default;
};

// The root of the window tree: its children are the top-level windows and
// its rectangle is the screen.
inline constexpr WindowHandle kDesktopWindow{1};


using MessageResult = std::intptr_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;

using WindowProcedure = MessageResult (*)(WindowHandle, std::uint32_t message, WParam, LParam);

struct Message {
  WindowHandle window;
  std::uint32_t message = 0;
  WParam wparam = 0;
  LParam lparam = 0;
  std::uint32_t time = 0;
};

// What WM_STYLECHANGED tells a window: its style before and after.
inline constexpr WParam GWL_STYLE = static_cast<WParam>(-16);
struct StyleChange {
  std::uint32_t old_style = 0;
  std::uint32_t new_style = 0;
};

// Packs a client point into a mouse message's lParam (signed 16-bit words).
inline LParam point_param(Point p) {
  return static_cast<LParam>((static_cast<std::uint32_t>(p.y & 0xFFFF) << 16) | static_cast<std::uint32_t>(p.x & 0xFFFF));
}
inline Point param_point(LParam l) {
  return {static_cast<std::int16_t>(l & 0xFFFF), static_cast<std::int16_t>((l >> 16) & 0xFFFF)};
}

// Window styles.
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
// Extended styles.
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr std::uint32_t WS_EX_NOACTIVATE = 0x08000000;

// "Use the default" for a position or size at creation.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWNA = 8;

// Positions in the z-order for set_window_pos.
inline constexpr WindowHandle HWND_TOP{0};
inline constexpr WindowHandle HWND_BOTTOM{0xFFFFFFF1};
inline constexpr WindowHandle HWND_TOPMOST{0xFFFFFFF2};
inline constexpr WindowHandle HWND_NOTOPMOST{0xFFFFFFF3};

// set_window_pos flags.
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;
inline constexpr std::uint32_t SWP_NOREDRAW = 0x0008;
inline constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr std::uint32_t SWP_HIDEWINDOW = 0x0080;
inline constexpr std::uint32_t SWP_NOOWNERZORDER = 0x0200;

// Relations for get_window.
inline constexpr int GW_HWNDFIRST = 0;
inline constexpr int GW_HWNDLAST = 1;
inline constexpr int GW_HWNDNEXT = 2;
inline constexpr int GW_HWNDPREV = 3;
inline constexpr int GW_OWNER = 4;
inline constexpr int GW_CHILD = 5;

// Messages.
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
inline constexpr std::uint32_t WM_GETTEXT = 0x000D;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr std::uint32_t WM_SETTINGCHANGE = 0x001A;
inline constexpr std::uint32_t WM_CANCELMODE = 0x001F;
inline constexpr std::uint32_t WM_SETFONT = 0x0030;
inline constexpr std::uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
inline constexpr std::uint32_t WM_STYLECHANGED = 0x007D;  // wParam GWL_STYLE, lParam const StyleChange*
inline constexpr std::uint32_t WM_NOTIFY = 0x004E;
inline constexpr std::uint32_t WM_HELP = 0x0053;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_INITDIALOG = 0x0110;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_HSCROLL = 0x0114;
inline constexpr std::uint32_t WM_VSCROLL = 0x0115;
inline constexpr std::uint32_t WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr std::uint32_t WM_CTLCOLORSTATIC = 0x0138;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_HOTKEY = 0x0312;
inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t WM_APP = 0x8000;

// WM_SETTINGCHANGE's wParam after the screen was rotated or resized.
inline constexpr WParam SETTINGCHANGE_RESET = 0x3002;

// Button state in a mouse message's wParam.
inline constexpr WParam MK_LBUTTON = 0x0001;

}  // namespace ductra::platform
