#include "app/settings/configuration_dialogs.h"

#include <vector>

#include "app/common/localizer.h"
#include "app/common/menu_bar.h"
#include "app/common/ui_helpers.h"
#include "app/settings/dialog_templates.h"
#include "app/settings/settings_lists.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/message_box.h"

namespace ductra {
namespace {

constexpr int kFreeCharsetList = 1040;
constexpr int kExtraText = 1047;
constexpr int kExtraCharsetList = 1041;
constexpr int kAddText = 1025;
constexpr int kAddableList = 1043;
constexpr int kCopybook = 1065;
constexpr int kAddCommand = 40011;
constexpr int kDeleteCommand = 40012;
constexpr std::uint32_t kExtraFormat = 11;
constexpr std::uint32_t kAddFormat = 29;
constexpr std::uint32_t kDeleteQuestion = 28;
constexpr std::size_t kTextUnits = 128;

std::vector<CharsetId> ids_of(const CharsetSet& set) { return {set.begin(), set.end()}; }

// String `format` with the name (of `kind`) of the configuration's title.
std::u16string about_title(std::uint32_t format, const Configuration& configuration, int kind,
                           const PageServices& services) {
  const std::u16string name = charset_display_name(localizer(), services.charsets, configuration.title(), kind);
  const FormatArg args[] = {std::u16string_view(name)};
  return localizer().format(format, args, kTextUnits);
}

}  // namespace

int AddConfigurationDialog::on_init_dialog() {
  fill_charset_list(*this, kFreeCharsetList, ids_of(configurations_.free()), kCharsetAdjective, services_.charsets);
  return Dialog::on_init_dialog();
}

int AddConfigurationDialog::on_command(int id, int code) {
  if (id != platform::IDOK) return Dialog::on_command(id, code);
  const auto chosen = static_cast<CharsetId>(list_selected_data(window(), kFreeCharsetList));
  if (chosen != 0 && configurations_.add_free_charset(chosen)) platform::end_dialog(window(), platform::IDOK);
  return 1;
}

int AddConfigurationDialog::on_help() { return services_.help.show(kProfilesTopic); }

int ExtraCharsetsDialog::on_init_dialog() {
  set_item_text(kExtraText, about_title(kExtraFormat, configuration_, kCharsetGenitive, services_));
  fill();
  return Dialog::on_init_dialog();
}

void ExtraCharsetsDialog::fill() const {
  fill_charset_list(*this, kExtraCharsetList, ids_of(configuration_.charsets()), kCharsetNoun, services_.charsets);
}

int ExtraCharsetsDialog::on_command(int id, int code) {
  switch (id) {
    case kAddCommand: {
      AddExtraCharsetsDialog add(configuration_, auxiliary_, services_);
      if (add.run_modal(window(), kAddExtraCharsetsTemplate, kDoneCancelMenuBar) == platform::IDOK) fill();
      return 1;
    }
    case kDeleteCommand: {
      const auto chosen = static_cast<CharsetId>(list_selected_data(window(), kExtraCharsetList));
      if (chosen != 0 && localizer().message_box(window(), kDeleteQuestion, 0, kYesNoQuestion) == platform::IDYES) {
        configuration_.remove_charset(chosen);
        fill();
      }
      return 1;
    }
    case kCopybook:
      services_.dialogs.run_copybook(window(), static_cast<CharsetId>(list_selected_data(window(), kExtraCharsetList)));
      return 1;
    default:
      return Dialog::on_command(id, code);
  }
}

int ExtraCharsetsDialog::on_help() { return services_.help.show(kProfilesTopic); }

int AddExtraCharsetsDialog::on_init_dialog() {
  set_item_text(kAddText, about_title(kAddFormat, configuration_, kCharsetAdjective, services_));
  std::vector<CharsetId> addable;
  for (const CharsetId id : auxiliary_) {
    if (!configuration_.charsets().contains(id)) addable.push_back(id);
  }
  fill_charset_list(*this, kAddableList, addable, kCharsetNoun, services_.charsets);
  return Dialog::on_init_dialog();
}

int AddExtraCharsetsDialog::on_command(int id, int code) {
  switch (id) {
    case platform::IDOK: {
      const auto chosen = static_cast<CharsetId>(list_selected_data(window(), kAddableList));
      if (chosen != 0) {
        configuration_.add_charset(chosen);
        platform::end_dialog(window(), platform::IDOK);
      }
      return 1;
    }
    case kCopybook:
      services_.dialogs.run_copybook(window(), static_cast<CharsetId>(list_selected_data(window(), kAddableList)));
      return 1;
    default:
      return Dialog::on_command(id, code);
  }
}

int AddExtraCharsetsDialog::on_help() { return services_.help.show(kProfilesTopic); }

}  // namespace ductra
