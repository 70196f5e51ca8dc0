#include "appplatform/dialog/dialog_action.h"

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"

namespace ductra::platform {

bool perform_dialog_action(WindowHandle dialog, const DialogAction& action) {
  WindowSystem& system = WindowSystem::current();
  const WindowHandle control = shown_control(dialog, action.control);
  if (!control) return false;
  switch (action.kind) {
    case DialogAction::Kind::click:
      system.send_message(control, BM_CLICK, 0, 0);
      break;
    case DialogAction::Kind::type:
      system.set_focus(control);
      for (char16_t c : action.text) system.send_message(control, WM_CHAR, c, 0);
      break;
    case DialogAction::Kind::pick:
      return system.send_message(control, CM_PICK, static_cast<WParam>(action.item), 0).result == 1;
  }
  return true;
}

}  // namespace ductra::platform
