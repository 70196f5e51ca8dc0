#include "appplatform/dialog/full_screen_dialog.h"

#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/dialog/menu_bar.h"
#include "appplatform/message_box.h"

namespace ductra::platform {
namespace {

constexpr int kDoneWidth = 40;
constexpr int kDoneHeight = 20;

void add_done_button(WindowHandle dialog) {
  WindowSystem& system = WindowSystem::current();
  const Rect client = system.client_rect(dialog).value_or(Rect{});
  CreateWindowParams params;
  params.class_name = kButtonClass;
  params.title = u"OK";
  params.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
  params.x = client.right - kDoneWidth - 2;
  params.y = 2;
  params.width = kDoneWidth;
  params.height = kDoneHeight;
  params.parent = dialog;
  const WindowHandle done = system.create_window(params);
  if (!done) return;
  ChildRecord& record = child_record(done);
  record.id = IDOK;
  record.font = system_font();
}

}  // namespace

bool init_full_screen_dialog(WindowHandle dialog, std::uint32_t mask, std::uint32_t flags) {
  WindowSystem& system = WindowSystem::current();
  if (!(mask & SHIDIM_FLAGS) || system.class_name(dialog) != kDialogClass) return false;
  if (system.window_style(dialog).value_or(0) & WS_CHILD) return true;
  if (flags & SHIDIF_SIZEDLGFULLSCREEN) {
    const ScreenState screen = system.screen();
    system.move_window(dialog, 0, 0, screen.width, screen.height - kMenuBarHeight, true);
  }
  if ((flags & SHIDIF_DONEBUTTON) && !dialog_item(dialog, IDOK)) add_done_button(dialog);
  if (flags & SHIDIF_EMPTYMENU) create_menu_bar(dialog, {});
  return true;
}

}  // namespace ductra::platform
