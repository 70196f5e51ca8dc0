// Who answers the system's pop-up menus, message boxes, hold gestures and
// modal dialogs.
//
// On the device the pen does (PenResponder); tests install a scripted
// responder instead. The responder runs on the thread that asked and may
// run a nested message loop there, so that thread keeps answering Sends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "appplatform/popup_menu.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

struct MenuRequest {
  const PopupMenu* menu = nullptr;
  MenuLayout layout;
  std::uint32_t flags = 0;
  WindowHandle owner;
};

enum class MessageBoxIcon { none, stop, question };

struct MessageBoxRequest {
  WindowHandle owner;
  std::u16string text;
  std::u16string caption;
  std::vector<int> buttons;  // the answers offered, in order (IDOK, IDCANCEL, IDYES, IDNO)
  MessageBoxIcon icon = MessageBoxIcon::none;
  bool topmost = false;
  bool set_foreground = false;
};

struct HoldRequest {
  WindowHandle window;
  Point point;  // client coordinates of the press
};

class UiResponder {
 public:
  virtual ~UiResponder() = default;
  // The chosen item's id, or nothing when the menu is dismissed.
  virtual std::optional<int> choose_menu_item(const MenuRequest& request) = 0;
  // One of the request's buttons.
  virtual int answer_message_box(const MessageBoxRequest& request) = 0;
  // True when the pen was held still on the point long enough.
  virtual bool recognize_hold(const HoldRequest& request) = 0;
  // Called on the dialog's thread once a modal dialog is shown, before its
  // messages run. The pen leaves the dialog to the person using it; a
  // scripted responder works its controls here.
  virtual void drive_dialog(WindowHandle dialog) { (void)dialog; }
};

// The process's responder: the installed one, else the pen's.
UiResponder& ui_responder();
// Installs a responder (null: back to the pen); returns the previous one.
UiResponder* set_ui_responder(UiResponder* responder);

}  // namespace ductra::platform
