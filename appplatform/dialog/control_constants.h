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
inline constexpr char16_t kComboBoxClass[] = u"COMBOBOX";
inline constexpr char16_t kListBoxClass[] = u"LISTBOX";
inline constexpr char16_t kTrackbarClass[] = u"msctls_trackbar32";
inline constexpr char16_t kUpDownClass[] = u"msctls_updown32";
inline constexpr char16_t kTabControlClass[] = u"SysTabControl32";

// Styles shared by controls.
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;

// Static controls.
inline constexpr std::uint32_t SS_LEFT = 0x0000;
inline constexpr std::uint32_t SS_CENTER = 0x0001;
inline constexpr std::uint32_t SS_RIGHT = 0x0002;
inline constexpr std::uint32_t SS_BITMAP = 0x000E;  // the text "#N" names built-in bitmap N
inline constexpr std::uint32_t SS_TYPEMASK = 0x001F;
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

// Combo boxes (lParam of CB_ADDSTRING: a const char16_t*, terminated).
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x0003;
inline constexpr std::uint32_t CBS_SORT = 0x0100;
inline constexpr std::uint32_t CB_ADDSTRING = 0x0143;
inline constexpr std::uint32_t CB_GETCOUNT = 0x0146;
inline constexpr std::uint32_t CB_GETCURSEL = 0x0147;
inline constexpr std::uint32_t CB_RESETCONTENT = 0x014B;
inline constexpr std::uint32_t CB_SETCURSEL = 0x014E;
inline constexpr std::uint32_t CB_GETITEMDATA = 0x0150;
inline constexpr std::uint32_t CB_SETITEMDATA = 0x0151;
inline constexpr int CBN_SELCHANGE = 1;

// List boxes.
inline constexpr std::uint32_t LBS_NOTIFY = 0x0001;
inline constexpr std::uint32_t LBS_SORT = 0x0002;
inline constexpr std::uint32_t LB_ADDSTRING = 0x0180;
inline constexpr std::uint32_t LB_RESETCONTENT = 0x0184;
inline constexpr std::uint32_t LB_SETCURSEL = 0x0186;
inline constexpr std::uint32_t LB_GETCURSEL = 0x0188;
inline constexpr std::uint32_t LB_GETCOUNT = 0x018B;
inline constexpr std::uint32_t LB_GETITEMDATA = 0x0199;
inline constexpr std::uint32_t LB_SETITEMDATA = 0x019A;
inline constexpr int LBN_SELCHANGE = 1;

// Trackbars: WM_HSCROLL to the parent, the code in the low word of wParam,
// the position in the high word, lParam the trackbar.
inline constexpr std::uint32_t TBM_GETPOS = 0x0400;
inline constexpr std::uint32_t TBM_GETRANGEMIN = 0x0401;
inline constexpr std::uint32_t TBM_GETRANGEMAX = 0x0402;
inline constexpr std::uint32_t TBM_SETPOS = 0x0405;
inline constexpr std::uint32_t TBM_SETRANGE = 0x0406;  // lParam: low word min, high word max
inline constexpr std::uint32_t TBM_SETTICFREQ = 0x0414;
inline constexpr int TB_LINEUP = 0;
inline constexpr int TB_LINEDOWN = 1;
inline constexpr int TB_THUMBPOSITION = 4;
inline constexpr int TB_THUMBTRACK = 5;
inline constexpr int TB_ENDTRACK = 8;

// Up-down controls.
inline constexpr std::uint32_t UDS_SETBUDDYINT = 0x0002;
inline constexpr std::uint32_t UDM_SETBUDDY = 0x0469;  // wParam: the buddy's handle id
inline constexpr std::uint32_t UDM_GETBUDDY = 0x046A;
inline constexpr std::uint32_t UDM_SETPOS32 = 0x0471;
inline constexpr std::uint32_t UDM_GETPOS32 = 0x0472;
inline constexpr std::uint32_t UDM_SETRANGE32 = 0x046F;  // wParam low, lParam high
inline constexpr std::uint32_t UDM_GETRANGE32 = 0x0470;  // wParam, lParam: int* low, high
inline constexpr int UDN_DELTAPOS = -722;
inline constexpr int SB_THUMBPOSITION = 4;

// Tab controls (TCM_INSERTITEM: wParam the index, lParam a const char16_t*).
inline constexpr std::uint32_t TCS_BOTTOM = 0x0002;
inline constexpr std::uint32_t TCM_GETITEMCOUNT = 0x1304;
inline constexpr std::uint32_t TCM_GETCURSEL = 0x130B;
inline constexpr std::uint32_t TCM_SETCURSEL = 0x130C;
inline constexpr std::uint32_t TCM_INSERTITEM = 0x133E;
inline constexpr int TCN_SELCHANGE = -551;
inline constexpr int TCN_SELCHANGING = -552;

// The colour a control asks its parent for: wParam the DeviceContext*, lParam
// the control; the answer a const Brush* (0: the control's own colours).
inline constexpr std::uint32_t WM_CTLCOLOREDIT = 0x0133;
inline constexpr std::uint32_t WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr std::uint32_t WM_CTLCOLORBTN = 0x0135;
inline constexpr std::uint32_t WM_CTLCOLORDLG = 0x0136;
inline constexpr std::uint32_t WM_CTLCOLORSCROLLBAR = 0x0137;

// A person's pick, as a script makes it: wParam the item of a combo box,
// list box or tab control, the position of a trackbar. The control does
// what the pen's pick does, notifications included; the answer is 1 when
// the pick was taken.
inline constexpr std::uint32_t CM_PICK = 0x03F0;

// Keys.
inline constexpr WParam VK_LEFT = 0x25;
inline constexpr WParam VK_UP = 0x26;
inline constexpr WParam VK_RIGHT = 0x27;
inline constexpr WParam VK_DOWN = 0x28;
inline constexpr WParam VK_BACK = 0x08;
inline constexpr WParam VK_TAB = 0x09;
inline constexpr WParam VK_SHIFT = 0x10;
inline constexpr WParam VK_RETURN = 0x0D;
inline constexpr WParam VK_ESCAPE = 0x1B;
inline constexpr WParam VK_SPACE = 0x20;

// wParam of WM_COMMAND: the control id in the low word, the code in the high.
constexpr WParam make_wparam(int low, int high) {
  return (static_cast<WParam>(static_cast<std::uint16_t>(high)) << 16) | static_cast<std::uint16_t>(low);
}
constexpr int low_word(WParam w) { return static_cast<int>(w & 0xFFFF); }
constexpr int high_word(WParam w) { return static_cast<int>((w >> 16) & 0xFFFF); }
constexpr LParam make_lparam(int low, int high) { return static_cast<LParam>(make_wparam(low, high)); }

}  // namespace ductra::platform
