#include "app/settings/settings_page.h"

#include "app/common/localizer.h"
#include "app/settings/dialog_templates.h"

namespace ductra {
namespace {

int current_page = 0;

}  // namespace

int current_sheet_page() { return current_page; }
void set_current_sheet_page(int index) { current_page = index; }

platform::PropertySheetPage SettingsPage::make_page() {
  platform::PropertySheetPage page;
  if (const std::optional<platform::DialogTemplate> own = own_dialog_template(dialog_id())) {
    page.dialog_template = localizer().localized_template(*own);
  }
  page.procedure = &Dialog::page_proc;
  page.parameter = reinterpret_cast<platform::LParam>(this);
  return page;
}

int SettingsPage::on_notify(int control_id, const platform::NotifyHeader& header) {
  switch (header.code) {
    case platform::PSN_HELP:
      on_help();
      return 1;
    case platform::PSN_SETACTIVE:
      on_set_active();
      fill();
      return 0;
    case platform::PSN_KILLACTIVE:
      read_back();
      return 0;
    case platform::PSN_APPLY:
      return 0;
    default:
      return Dialog::on_notify(control_id, header);
  }
}

int SettingsPage::on_help() {
  help_.show(help_topic_);
  return 1;
}

}  // namespace ductra
