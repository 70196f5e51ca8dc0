#include "app/copybook/copybook_dialog.h"

#include "app/settings/dialog_templates.h"
#include "appplatform/dialog/list_view.h"
#include "appplatform/dialog/property_sheet.h"

namespace ductra {

std::intptr_t CopybookDialog::run(platform::WindowHandle parent) { return run_modal(parent, kCopybookTemplate, 0); }

int CopybookDialog::on_init_dialog() {
  model_.reset();
  model_ = std::make_unique<CopybookModel>(window(), charset_, services_);
  return TitledDialog::on_init_dialog();
}

int CopybookDialog::on_destroy() {
  model_.reset();
  return 0;
}

int CopybookDialog::on_command(int id, int code) {
  if (model_ && model_->on_command(id, code) != 0) return 0;
  return Dialog::on_command(id, code);
}

int CopybookDialog::on_notify(int control_id, const platform::NotifyHeader& header) {
  switch (header.code) {
    case platform::PSN_HELP:
      on_help();
      return 1;
    case platform::LVN_ITEMCHANGED:
      if (model_ && model_->on_item_changed(reinterpret_cast<const platform::ListViewNotify&>(header))) return 0;
      [[fallthrough]];
    case platform::PSN_SETACTIVE:
      if (model_) model_->refill(0);
      return 0;
    case platform::PSN_APPLY:
      return 0;
    case platform::NM_CLICK:
      if (model_) model_->on_variant_click(header);
      return 0;
    default:
      return Dialog::on_notify(control_id, header);
  }
}

int CopybookDialog::on_help() { return help_.show(kCopybookTopic); }

}  // namespace ductra
