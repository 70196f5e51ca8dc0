#include "app/settings/installation_dialogs.h"

#include "app/common/localizer.h"
#include "app/settings/dialog_templates.h"
#include "appplatform/dialog/dialog_box.h"

namespace ductra {

int InstallationDoneDialog::on_init_dialog() {
  set_item_text(kInstallationDoneControl, localizer().string(kInstallationDoneText));
  return Dialog::on_init_dialog();
}

bool run_installation_dialog(int dialog_id, platform::WindowHandle parent) {
  if (dialog_id == kInstallationDoneTemplate) {
    InstallationDoneDialog dialog;
    return dialog.run_modal(parent, dialog_id, 0) != platform::kDialogFailed;
  }
  if (dialog_id == kFlourishesTemplate) {
    Dialog dialog;
    return dialog.run_modal(parent, dialog_id, 0) != platform::kDialogFailed;
  }
  return false;
}

}  // namespace ductra
