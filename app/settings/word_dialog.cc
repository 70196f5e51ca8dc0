#include "app/settings/word_dialog.h"

#include "app/common/localizer.h"
#include "app/common/menu_bar.h"
#include "app/settings/dialog_templates.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/message_box.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr int kWordEdit = 1010;
constexpr std::uint32_t kTitleString = 249;
constexpr std::uint32_t kUnsuitableWord = 237;
constexpr std::uint32_t kWordPresent = 238;
constexpr std::uint32_t kErrorCaption = 252;
constexpr std::size_t kTitleUnits = 64;
constexpr std::size_t kReadUnits = 100;
constexpr std::uint32_t kStopIcon = 16;

}  // namespace

bool WordDialog::run(platform::WindowHandle parent) {
  host_.select_default_input_method();
  host_.set_dialog_open(true);
  const std::intptr_t ended = run_modal(parent, kWordTemplate, kDoneCancelMenuBar);
  host_.set_dialog_open(false);
  host_.select_own_input_method(from_prompt_);
  return ended == platform::IDOK;
}

int WordDialog::on_init_dialog() {
  std::u16string title = localizer().string(kTitleString);
  title.resize(std::min(title.size(), kTitleUnits - 1));
  platform::WindowSystem::current().set_window_text(window(), title);
  send_item(kWordEdit, platform::EM_LIMITTEXT, kMaxWordUnits);
  set_item_text(kWordEdit, std::u16string_view(text_).substr(0, kMaxWordUnits));
  return Dialog::on_init_dialog();
}

int WordDialog::on_command(int id, int code) {
  if (id != platform::IDOK) return Dialog::on_command(id, code);
  std::u16string typed = platform::dialog_item_text(window(), kWordEdit);
  typed.resize(std::min(typed.size(), kReadUnits));
  text_ = typed;
  if (accept_word()) platform::end_dialog(window(), platform::IDOK);
  return 1;
}

bool WordDialog::accept_word() {
  std::uint8_t suitable = 0;
  if (engine_.check_user_dictionary_word(dictionary_, text_.c_str(), &suitable) != 0) return false;
  if (suitable == 0) {
    refuse(kUnsuitableWord);
    return false;
  }
  std::uint32_t charset = 0;
  if (engine_.user_dictionary_charset(dictionary_, &charset) != 0) return false;
  std::uint32_t position = 0;
  std::uint8_t found = 0;
  if (engine_.search_user_dictionary(charset, text_.c_str(), &position, &found) != 0) return false;
  if (found != 0) {
    refuse(kWordPresent);
    return false;
  }
  return true;
}

void WordDialog::refuse(std::uint32_t text_id) {
  host_.hide_panel_for_box(true);
  localizer().message_box(window(), text_id, kErrorCaption, kStopIcon);
  host_.hide_panel_for_box(false);
}

}  // namespace ductra
