// One thing a person does to a dialog's control, as a script names it:
// click a button, type text into an edit field, pick an item of a combo
// box, list box or tab control, or a trackbar's position. perform_dialog_action does
// it through the control's own messages, so the dialog sees what it would
// see from the pen and the keyboard.
#pragma once

#include <string>

#include "appplatform/window_types.h"

namespace ductra::platform {

struct DialogAction {
  enum class Kind { click, type, pick };
  Kind kind = Kind::click;
  int control = 0;
  std::u16string text;
  int item = 0;

  static DialogAction click(int control) { return {Kind::click, control, {}, 0}; }
  static DialogAction type(int control, std::u16string text) { return {Kind::type, control, std::move(text), 0}; }
  static DialogAction pick(int control, int item) { return {Kind::pick, control, {}, item}; }
};

// False when the dialog has no such control or the control refused the pick.
bool perform_dialog_action(WindowHandle dialog, const DialogAction& action);

}  // namespace ductra::platform
