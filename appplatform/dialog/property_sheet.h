// Property sheets: one modal window over the work area above the menu
// bar, holding pages (each a child dialog made from its own template when
// it is first shown), a tab per page and the OK and Cancel buttons.
//
// A page's procedure gets WM_INITDIALOG with lParam pointing at its
// PropertySheetPage (its `parameter` is the caller's), then WM_NOTIFY with a
// NotifyHeader from the sheet: PSN_SETACTIVE each time it is shown;
// PSN_KILLACTIVE when another page is chosen or OK pressed (a non-zero
// answer keeps it shown); PSN_APPLY to every page made, on OK (a non-zero
// answer keeps the sheet open); PSN_RESET to every page made, on Cancel;
// PSN_HELP to the shown page when the sheet gets WM_HELP. With
// PSH_USECALLBACK the header's callback hears PSCB_INITIALIZED once the
// sheet window exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "appplatform/dialog/dialog_box.h"

namespace ductra::platform {

inline constexpr int PSN_SETACTIVE = -200;
inline constexpr int PSN_KILLACTIVE = -201;
inline constexpr int PSN_APPLY = -202;
inline constexpr int PSN_RESET = -203;
inline constexpr int PSN_HELP = -205;

inline constexpr std::uint32_t PSH_PROPSHEETPAGE = 0x0008;
inline constexpr std::uint32_t PSH_NOAPPLYNOW = 0x0080;
inline constexpr std::uint32_t PSH_USECALLBACK = 0x0100;
inline constexpr std::uint32_t PSH_MAXIMIZED = 0x2000;  // the sheet fills the work area

inline constexpr int PSCB_INITIALIZED = 1;
inline constexpr int PSCB_GETVERSION = 3;

// The id of the sheet's tab control.
inline constexpr int kSheetTabControl = 0x3020;

struct PropertySheetPage {
  DialogTemplate dialog_template;  // its frame is the sheet's to choose
  DialogProcedure procedure = nullptr;
  LParam parameter = 0;
  std::u16string title;  // the tab's text; empty: the template's title
};

using SheetCallback = int (*)(WindowHandle sheet, int event, LParam parameter);

struct PropertySheetHeader {
  std::uint32_t flags = 0;
  std::u16string caption;
  std::vector<PropertySheetPage> pages;
  int start_page = 0;
  SheetCallback callback = nullptr;
  WindowHandle owner;
};

// Runs the sheet modally: 1 when it ended with OK, 0 when cancelled, -1
// when it could not be made (no pages, a start page out of range, a page
// without a procedure, a template that cannot be made).
std::intptr_t property_sheet(const PropertySheetHeader& header);

}  // namespace ductra::platform
