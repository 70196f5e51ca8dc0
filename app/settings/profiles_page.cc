#include "app/settings/profiles_page.h"

#include "app/common/localizer.h"
#include "app/common/menu_bar.h"
#include "app/common/ui_helpers.h"
#include "app/settings/configuration_dialogs.h"
#include "app/settings/dialog_templates.h"
#include "app/settings/settings_lists.h"
#include "appplatform/message_box.h"

namespace ductra {
namespace {

constexpr int kConfigurationList = 1038;
constexpr int kAdd = 1065;
constexpr int kEdit = 1094;
constexpr int kDelete = 1039;
constexpr std::uint32_t kDeleteQuestion = 24;

}  // namespace

ProfilesPage::ProfilesPage(int index, Configurations& configurations, const PageServices& services)
    : SettingsPage(index, kProfilesTopic, services.help), configurations_(configurations), services_(services) {}

int ProfilesPage::dialog_id() const { return kProfilesPageTemplate; }

int ProfilesPage::on_init_dialog() {
  refresh();
  return TitledDialog::on_init_dialog();
}

void ProfilesPage::refresh() const {
  std::vector<CharsetId> titles;
  for (const auto& [title, configuration] : configurations_.configurations()) titles.push_back(title);
  fill_charset_list(*this, kConfigurationList, titles, kCharsetAdjective, services_.charsets);
  enable_item(kAdd, !configurations_.free().empty());
  enable_item(kDelete, configurations_.configurations().size() >= 2);
}

int ProfilesPage::on_command(int id, int code) {
  switch (id) {
    case kAdd:
      add_configuration();
      return 1;
    case kDelete:
      delete_configuration();
      return 1;
    case kEdit:
      edit_configuration();
      return 1;
    default:
      return Dialog::on_command(id, code);
  }
}

void ProfilesPage::add_configuration() {
  AddConfigurationDialog dialog(configurations_, services_);
  if (dialog.run_modal(window(), kAddConfigurationTemplate, kDoneCancelMenuBar) == platform::IDOK) refresh();
}

void ProfilesPage::delete_configuration() {
  const auto title = static_cast<CharsetId>(list_selected_data(window(), kConfigurationList));
  if (title == 0) return;
  if (localizer().message_box(window(), kDeleteQuestion, 0, kYesNoQuestion) != platform::IDYES) return;
  configurations_.remove(title);
  refresh();
}

void ProfilesPage::edit_configuration() {
  const auto title = static_cast<CharsetId>(list_selected_data(window(), kConfigurationList));
  const auto found = configurations_.configurations().find(title);
  if (title == 0 || found == configurations_.configurations().end()) return;
  Configuration copy = found->second;
  ExtraCharsetsDialog dialog(copy, configurations_.auxiliary(), services_);
  if (dialog.run_modal(window(), kExtraCharsetsTemplate, kAddDeleteMenuBar) == platform::IDOK) {
    configurations_.replace(copy);
  }
}

}  // namespace ductra
