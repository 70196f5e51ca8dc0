// The numbers of the control messages, styles and notifications that
// dialogs and their controls understand.
#pragma once

#include <cstdint>

#include "appplatform/window_types.h"

namespace ductra::platform {

// Class names of the standard controls (compared without case).
inline constexpr char16_t kStaticClass[] = u"STATIC";
inline constexpr char16_t kButtonClass[] = u"BUTTON";
inline constexpr char16_t kEditClass[] = u"EDIT";

// Styles shared by controls.
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;

// Static controls.
inline constexpr std::uint32_t SS_LEFT = 0x0000;
inline constexpr std::uint32_t SS_CENTER = 0x0001;
inline constexpr std::uint32_t SS_RIGHT = 0x0002;
inline constexpr std::uint32_t SS_NOTIFY = 0x0100;
inline constexpr int STN_CLICKED = 0;

// Buttons.
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr std::uint32_t BS_CHECKBOX = 0x2;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x4;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9;
inline constexpr std::uint32_t BS_TYPEMASK = 0xF;
inline constexpr std::uint32_t BM_GETCHECK = 0x00F0;
inline constexpr std::uint32_t BM_SETCHECK = 0x00F1;
inline constexpr std::uint32_t BM_CLICK = 0x00F5;
inline constexpr WParam BST_UNCHECKED = 0;
inline constexpr WParam BST_CHECKED = 1;
inline constexpr int BN_CLICKED = 0;

// Edit fields.
inline constexpr std::uint32_t EM_LIMITTEXT = 0x00C5;
inline constexpr std::uint32_t EM_GETLIMITTEXT = 0x00D5;
inline constexpr int EN_SETFOCUS = 0x0100;
inline constexpr int EN_KILLFOCUS = 0x0200;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr int EN_MAXTEXT = 0x0501;
inline constexpr std::size_t kDefaultTextLimit = 30000;

// The colour a control asks its parent for: wParam the DeviceContext*, lParam
// the control; the answer a const Brush* (0: the control's own colours).
inline constexpr std::uint32_t WM_CTLCOLOREDIT = 0x0133;
inline constexpr std::uint32_t WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr std::uint32_t WM_CTLCOLORBTN = 0x0135;
inline constexpr std::uint32_t WM_CTLCOLORDLG = 0x0136;
inline constexpr std::uint32_t WM_CTLCOLORSCROLLBAR = 0x0137;

// Keys.
inline constexpr WParam VK_BACK = 0x08;
inline constexpr WParam VK_RETURN = 0x0D;
inline constexpr WParam VK_ESCAPE = 0x1B;
inline constexpr WParam VK_SPACE = 0x20;

// wParam of WM_COMMAND: the control id in the low word, the code in the high.
constexpr WParam make_wparam(int low, int high) {
  return (static_cast<WParam>(static_cast<std::uint16_t>(high)) << 16) | static_cast<std::uint16_t>(low);
}
constexpr int low_word(WParam w) { return static_cast<int>(w & 0xFFFF); }
constexpr int high_word(WParam w) { return static_cast<int>((w >> 16) & 0xFFFF); }

}  // namespace ductra::platform
