#include "appplatform/dialog/property_sheet.h"

#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/menu_bar.h"
#include "appplatform/dialog/notify_header.h"
#include "appplatform/message_box.h"

namespace ductra::platform {
namespace {

constexpr int kCaptionHeight = 24;
constexpr int kTabHeight = 22;

struct Sheet {
  const PropertySheetHeader* header = nullptr;
  std::vector<WindowHandle> pages;  // null until first shown
  int current = -1;
  Rect page_area;
  bool failed = false;
};

Sheet* sheet_of(WindowHandle window) { return reinterpret_cast<Sheet*>(WindowSystem::current().user_data(window)); }

MessageResult tell_page(WindowHandle sheet, WindowHandle page, int code) {
  NotifyHeader header{sheet, 0, code};
  return WindowSystem::current().send_message(page, WM_NOTIFY, 0, reinterpret_cast<LParam>(&header)).result;
}

WindowHandle make_page(WindowHandle sheet, Sheet& state, int index) {
  const PropertySheetPage& page = state.header->pages[index];
  DialogTemplate t = page.dialog_template;
  t.style = (t.style & ~(WS_POPUP | WS_VISIBLE)) | WS_CHILD;
  t.frame = state.page_area;
  return create_dialog(t, sheet, page.procedure, reinterpret_cast<LParam>(&page));
}

bool show_page(WindowHandle sheet, Sheet& state, int index) {
  WindowHandle& page = state.pages[index];
  if (!page) page = make_page(sheet, state, index);
  if (!page) return false;
  state.current = index;
  tell_page(sheet, page, PSN_SETACTIVE);
  WindowSystem::current().show_window(page, SW_SHOW);
  return true;
}

// Asks the shown page to let go; false when it wants to stay.
bool leave_page(WindowHandle sheet, Sheet& state) {
  if (state.current < 0) return true;
  const WindowHandle page = state.pages[state.current];
  if (tell_page(sheet, page, PSN_KILLACTIVE) != 0) return false;
  WindowSystem::current().show_window(page, SW_HIDE);
  return true;
}

bool tell_every_page(WindowHandle sheet, const Sheet& state, int code) {
  bool all_agree = true;
  for (WindowHandle page : state.pages) {
    if (page && tell_page(sheet, page, code) != 0) all_agree = false;
  }
  return all_agree;
}

void accept(WindowHandle sheet, Sheet& state) {
  const int shown = state.current;
  if (tell_page(sheet, state.pages[shown], PSN_KILLACTIVE) != 0) return;
  if (tell_every_page(sheet, state, PSN_APPLY)) end_dialog(sheet, 1);
}

void start(WindowHandle sheet, Sheet& state) {
  WindowSystem& system = WindowSystem::current();
  system.set_user_data(sheet, reinterpret_cast<std::uintptr_t>(&state));
  const WindowHandle tabs = dialog_item(sheet, kSheetTabControl);
  for (const PropertySheetPage& page : state.header->pages) {
    const std::u16string& title = page.title.empty() ? page.dialog_template.title : page.title;
    system.send_message(tabs, TCM_INSERTITEM, 0, reinterpret_cast<LParam>(title.c_str()));
  }
  system.send_message(tabs, TCM_SETCURSEL, static_cast<WParam>(state.header->start_page), 0);
  if ((state.header->flags & PSH_USECALLBACK) && state.header->callback) {
    state.header->callback(sheet, PSCB_INITIALIZED, 0);
  }
  if (!show_page(sheet, state, state.header->start_page)) {
    state.failed = true;
    end_dialog(sheet, -1);
  }
}

MessageResult tab_notification(WindowHandle sheet, Sheet& state, const NotifyHeader& header) {
  if (header.code == TCN_SELCHANGING) return leave_page(sheet, state) ? 0 : 1;
  if (header.code != TCN_SELCHANGE) return 0;
  const int chosen = static_cast<int>(WindowSystem::current().send_message(header.from, TCM_GETCURSEL, 0, 0).result);
  if (!show_page(sheet, state, chosen)) end_dialog(sheet, -1);
  return 1;
}

MessageResult sheet_procedure(WindowHandle sheet, std::uint32_t message, WParam wparam, LParam lparam) {
  if (message == WM_INITDIALOG) {
    start(sheet, *reinterpret_cast<Sheet*>(lparam));
    return 0;
  }
  Sheet* state = sheet_of(sheet);
  if (!state) return 0;
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NotifyHeader*>(lparam);
      return header && header->id == static_cast<std::uintptr_t>(kSheetTabControl) ? tab_notification(sheet, *state, *header) : 0;
    }
    case WM_COMMAND:
      if (low_word(wparam) == IDOK) accept(sheet, *state);
      if (low_word(wparam) == IDCANCEL && tell_every_page(sheet, *state, PSN_RESET)) end_dialog(sheet, 0);
      return 1;
    case WM_HELP:
      if (state->current >= 0) tell_page(sheet, state->pages[state->current], PSN_HELP);
      return 1;
    default:
      return 0;
  }
}

DialogTemplate sheet_template(const PropertySheetHeader& header, Rect frame) {
  DialogTemplate t;
  t.title = header.caption;
  t.frame = frame;
  const int width = frame.width();
  const int height = frame.height();
  t.items = {
      {0xFFFF, kStaticClass, header.caption, 0, {4, 4, width - 108, kCaptionHeight - 4}},
      {kSheetTabControl, kTabControlClass, u"", 0, {0, height - kTabHeight, width, height}},
      {IDOK, kButtonClass, u"OK", BS_DEFPUSHBUTTON, {width - 48, 2, width - 2, kCaptionHeight - 2}},
      {IDCANCEL, kButtonClass, u"Cancel", BS_PUSHBUTTON, {width - 104, 2, width - 52, kCaptionHeight - 2}},
  };
  return t;
}

bool pages_usable(const PropertySheetHeader& header) {
  if (header.pages.empty() || header.start_page < 0 || header.start_page >= static_cast<int>(header.pages.size())) {
    return false;
  }
  for (const PropertySheetPage& page : header.pages) {
    if (!page.procedure) return false;
  }
  return true;
}

}  // namespace

std::intptr_t property_sheet(const PropertySheetHeader& header) {
  if (!pages_usable(header)) return -1;
  const Rect work_area = WindowSystem::current().screen().work_area;
  const Rect frame{work_area.left, work_area.top, work_area.right, work_area.bottom - kMenuBarHeight};
  Sheet state;
  state.header = &header;
  state.pages.assign(header.pages.size(), WindowHandle{});
  state.page_area = {0, kCaptionHeight, frame.width(), frame.height() - kTabHeight};
  const std::intptr_t result = dialog_box(sheet_template(header, frame), header.owner, sheet_procedure,
                                          reinterpret_cast<LParam>(&state));
  if (state.failed || result == kDialogFailed) return -1;
  return result > 0 ? 1 : 0;
}

}  // namespace ductra::platform
