#include "app/program/word_dialog_host.h"

#include "app/common/input_method.h"
#include "app/shell/controller.h"
#include "app/shell/shell_window.h"

namespace ductra {

void ProgramWordDialogHost::select_default_input_method() { select_default_im(registry_, SipShow::show); }

void ProgramWordDialogHost::select_own_input_method(bool shown) {
  select_own_im(shown ? SipShow::show : SipShow::hide);
}

void ProgramWordDialogHost::set_dialog_open(bool open) {
  if (Controller* controller = published_controller()) controller->set_dialog_open(open);
}

void ProgramWordDialogHost::hide_panel_for_box(bool hidden) { show_sip(!hidden); }

}  // namespace ductra
