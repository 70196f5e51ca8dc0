// The list view control ("SysListView32"): items with a text, a value of
// the caller's (param), an image and a state (focused, selected), shown as
// a grid of icons (LVS_ICON, cells of the icon spacing) or as rows
// (LVS_REPORT) under the columns the caller inserts, whose header (their
// titles, unless LVS_NOCOLUMNHEADER) stays above the rows as they scroll;
// an item's text stands in the first column. A tap focuses and selects the item under the
// pen (the only one selected) and reports NM_CLICK; every change of an
// item's state is reported at once, by a Send, as LVN_ITEMCHANGED. Items
// scroll vertically (LVM_SCROLL, LVM_ENSUREVISIBLE, the arrow keys). A
// script's pick (CM_PICK, wParam the item) scrolls the item into view and
// taps it. Records passed by pointer never leave the process.
#pragma once

#include <cstdint>

#include "appplatform/dialog/notify_header.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr char16_t kListViewClass[] = u"SysListView32";

inline constexpr std::uint32_t LVS_ICON = 0x0000;
inline constexpr std::uint32_t LVS_REPORT = 0x0001;
inline constexpr std::uint32_t LVS_SINGLESEL = 0x0004;
inline constexpr std::uint32_t LVS_SHOWSELALWAYS = 0x0008;
inline constexpr std::uint32_t LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr std::uint32_t LVS_TYPEMASK = 0x0003;

inline constexpr std::uint32_t LVIF_TEXT = 0x0001;
inline constexpr std::uint32_t LVIF_IMAGE = 0x0002;
inline constexpr std::uint32_t LVIF_PARAM = 0x0004;
inline constexpr std::uint32_t LVIF_STATE = 0x0008;

inline constexpr std::uint32_t LVIS_FOCUSED = 0x0001;
inline constexpr std::uint32_t LVIS_SELECTED = 0x0002;

inline constexpr LParam LVNI_ALL = 0x0000;
inline constexpr LParam LVNI_FOCUSED = 0x0001;
inline constexpr LParam LVNI_SELECTED = 0x0002;

inline constexpr int LVIR_BOUNDS = 0;
inline constexpr int LVIR_ICON = 1;
inline constexpr int LVIR_LABEL = 2;

inline constexpr WParam LVSIL_NORMAL = 0;

inline constexpr std::uint32_t LVM_FIRST = 0x1000;
inline constexpr std::uint32_t LVM_SETIMAGELIST = LVM_FIRST + 3;   // lParam const ImageList*; the previous one
inline constexpr std::uint32_t LVM_GETITEMCOUNT = LVM_FIRST + 4;
inline constexpr std::uint32_t LVM_DELETEITEM = LVM_FIRST + 8;
inline constexpr std::uint32_t LVM_DELETEALLITEMS = LVM_FIRST + 9;
inline constexpr std::uint32_t LVM_GETNEXTITEM = LVM_FIRST + 12;   // wParam start (-1: all), lParam LVNI_*
inline constexpr std::uint32_t LVM_GETITEMRECT = LVM_FIRST + 14;   // wParam item, lParam Rect* (left: LVIR_*)
inline constexpr std::uint32_t LVM_ENSUREVISIBLE = LVM_FIRST + 19; // wParam item, lParam partial visibility enough
inline constexpr std::uint32_t LVM_SCROLL = LVM_FIRST + 20;        // wParam dx, lParam dy
inline constexpr std::uint32_t LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;  // wParam column; 0 for none
inline constexpr std::uint32_t LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;  // wParam column, lParam width
inline constexpr std::uint32_t LVM_SETITEMSTATE = LVM_FIRST + 43;  // wParam item (-1: all), lParam const ListViewItem*
inline constexpr std::uint32_t LVM_SETICONSPACING = LVM_FIRST + 53;  // lParam: low word cx, high word cy
inline constexpr std::uint32_t LVM_GETSELECTIONMARK = LVM_FIRST + 66;
inline constexpr std::uint32_t LVM_SETSELECTIONMARK = LVM_FIRST + 67;  // lParam item; the previous mark
inline constexpr std::uint32_t LVM_GETITEM = LVM_FIRST + 75;       // lParam ListViewItem*
inline constexpr std::uint32_t LVM_INSERTITEM = LVM_FIRST + 77;    // lParam const ListViewItem*; the index or -1
// wParam the place (past the end: last), lParam const ListViewColumn*; the
// place it took, or -1.
inline constexpr std::uint32_t LVM_INSERTCOLUMN = LVM_FIRST + 97;

inline constexpr int LVN_ITEMCHANGED = -101;

struct ListViewItem {
  std::uint32_t mask = 0;  // LVIF_*
  int item = 0;
  int sub_item = 0;
  std::uint32_t state = 0;
  std::uint32_t state_mask = 0;
  char16_t* text = nullptr;  // terminated; filled by LVM_GETITEM up to text_max units with the terminator
  int text_max = 0;
  int image = 0;
  LParam param = 0;
};

struct ListViewColumn {
  int width = 0;
  const char16_t* title = nullptr;  // terminated; none for an untitled column
};

// NM_CLICK (item -1 off the items) and LVN_ITEMCHANGED.
struct ListViewNotify {
  NotifyHeader header;
  int item = -1;
  std::uint32_t new_state = 0;
  std::uint32_t old_state = 0;
  std::uint32_t changed = 0;  // LVIF_STATE
  Point action;
  LParam param = 0;
};

MessageResult list_view_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);

}  // namespace ductra::platform
