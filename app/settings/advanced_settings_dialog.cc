#include "app/settings/advanced_settings_dialog.h"

#include "app/common/localizer.h"
#include "app/common/ui_helpers.h"
#include "app/settings/settings_lists.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/property_sheet.h"

namespace ductra {
namespace {

constexpr int kCopybookSection = 1028;
constexpr int kDictionariesSection = 1029;
constexpr int kPromptSection = 1030;
constexpr int kCopybook = 1094;
constexpr int kDictionaries = 1095;
constexpr int kPromptFrequency = 1075;
constexpr std::size_t kItemUnits = 64;
// The prompt is offered only in the joined (0) and separate (1) modes.
constexpr std::int32_t kLastModeWithPrompt = 1;

}  // namespace

int AdvancedSettingsDialog::on_init_dialog() {
  for (const int section : {kCopybookSection, kDictionariesSection, kPromptSection}) set_dialog_item_bold(window(), section);
  add_string_items(*this, kPromptFrequency, kPromptFrequencyStrings, kItemUnits);
  send_item(kPromptFrequency, platform::CB_SETCURSEL, static_cast<platform::WParam>(settings_.use_prompt));
  enable_prompt_frequency();
  return TitledDialog::on_init_dialog();
}

void AdvancedSettingsDialog::enable_prompt_frequency() const {
  enable_item(kPromptFrequency, settings_.recognize_mode >= 0 && settings_.recognize_mode <= kLastModeWithPrompt);
}

int AdvancedSettingsDialog::on_notify(int control_id, const platform::NotifyHeader& header) {
  switch (header.code) {
    case platform::PSN_HELP:
      on_help();
      return 1;
    case platform::PSN_SETACTIVE:
      enable_prompt_frequency();
      return 0;
    default:
      return Dialog::on_notify(control_id, header);
  }
}

int AdvancedSettingsDialog::on_command(int id, int code) {
  switch (id) {
    case kPromptFrequency: {
      const platform::MessageResult selected = send_item(kPromptFrequency, platform::CB_GETCURSEL);
      settings_.use_prompt = selected >= 0 ? static_cast<std::int32_t>(selected) : 0;
      return 0;
    }
    case kCopybook:
      services_.dialogs.run_copybook(window(), 0);
      return 0;
    case kDictionaries:
      services_.dialogs.run_dictionaries(window(), settings_.recognize_mode, configurations_);
      return 0;
    default:
      return Dialog::on_command(id, code);
  }
}

int AdvancedSettingsDialog::on_help() { return services_.help.show(kAdvancedSettingsTopic); }

}  // namespace ductra
