#include "app/settings/dictionaries_dialog.h"

#include <algorithm>
#include <vector>

#include "app/common/localizer.h"
#include "app/common/menu_bar.h"
#include "app/settings/dialog_templates.h"
#include "app/settings/settings_lists.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/list_view.h"
#include "appplatform/dialog/property_sheet.h"
#include "appplatform/message_box.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr int kLanguageList = 1075;
constexpr int kUseDictionary = 1026;
constexpr int kWordList = 1014;
constexpr int kOptionalDictionaryControl = 1015;
constexpr int kOptionalWordControl = 1016;
constexpr int kAddCommand = 40011;
constexpr int kDeleteCommand = 40012;
constexpr std::uint32_t kEnglishCharset = 5;
constexpr std::uint32_t kWordProbability = 5000;
constexpr std::uint32_t kDeleteQuestion = 251;
constexpr std::uint32_t kDeleteCaption = 19;
constexpr std::uint32_t kErrorCaption = 252;
constexpr std::uint32_t kOkCancel = 1;
constexpr std::uint32_t kStopIcon = 16;
constexpr std::size_t kQuestionUnits = 256;
constexpr std::uint32_t kSelectedAndFocused = platform::LVIS_SELECTED | platform::LVIS_FOCUSED;
constexpr int kSeparateLettersMode = 1;
constexpr int kJoinedMode = 0;

}  // namespace

std::intptr_t DictionariesDialog::run(platform::WindowHandle parent) {
  return run_modal(parent, kDictionariesTemplate, kAddDeleteMenuBar);
}

int DictionariesDialog::on_init_dialog() {
  if (engine_.user_dictionary_count(&dictionary_count_) != 0) dictionary_count_ = 0;
  select_charset(kEnglishCharset);
  platform::Rect client{};
  get_client_rect(client);
  const platform::ListViewColumn column{(client.width() - 2) * 70 / 100, nullptr};
  send_item(kWordList, platform::LVM_INSERTCOLUMN, 0, reinterpret_cast<platform::LParam>(&column));
  fill_languages();
  fill_words();
  update_controls();
  return TitledDialog::on_init_dialog();
}

void DictionariesDialog::select_charset(std::uint32_t charset) {
  selected_dictionary_ = 0;
  for (std::uint32_t i = 0; i < dictionary_count_; ++i) {
    std::uint32_t id = 0;
    if (engine_.user_dictionary_charset(i, &id) == 0 && id == charset) {
      selected_dictionary_ = i;
      break;
    }
  }
  selected_charset_ = 0;
  if (dictionary_count_ > 0 && engine_.user_dictionary_charset(selected_dictionary_, &selected_charset_) != 0) {
    selected_charset_ = 0;
  }
  read_word_count();
}

void DictionariesDialog::read_word_count() {
  word_count_ = 0;
  if (dictionary_count_ > 0 && engine_.user_dictionary_word_count(selected_dictionary_, &word_count_) != 0) {
    word_count_ = 0;
  }
  selected_word_ = word_count_ > 0 ? 0 : -1;
}

void DictionariesDialog::fill_languages() const {
  send_item(kLanguageList, platform::CB_RESETCONTENT);
  enable_item(kLanguageList, dictionary_count_ > 0);
  if (dictionary_count_ == 0) return;
  std::vector<std::pair<std::u16string, std::uint32_t>> languages;
  for (std::uint32_t i = 0; i < dictionary_count_; ++i) {
    std::uint32_t id = 0;
    if (engine_.user_dictionary_charset(i, &id) != 0) continue;
    languages.emplace_back(charset_display_name(localizer(), services_.charsets, id, kCharsetNoun), id);
  }
  std::sort(languages.begin(), languages.end());
  int selected = 0;
  for (const auto& [name, id] : languages) {
    const platform::MessageResult at =
        send_item(kLanguageList, platform::CB_ADDSTRING, 0, reinterpret_cast<platform::LParam>(name.c_str()));
    if (at < 0) continue;
    send_item(kLanguageList, platform::CB_SETITEMDATA, static_cast<platform::WParam>(at), id);
    if (id == selected_charset_) selected = static_cast<int>(at);
  }
  send_item(kLanguageList, platform::CB_SETCURSEL, static_cast<platform::WParam>(selected));
}

std::optional<std::u16string> DictionariesDialog::word_text(std::uint32_t word) const {
  std::uint32_t length = 0;
  if (engine_.user_dictionary_word_length(selected_dictionary_, word, &length) != 0) return std::nullopt;
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  if (engine_.user_dictionary_word(selected_dictionary_, word, text.data()) != 0) return std::nullopt;
  text.resize(std::char_traits<char16_t>::length(text.c_str()));
  return text;
}

void DictionariesDialog::fill_words() const {
  send_item(kWordList, platform::LVM_DELETEALLITEMS);
  enable_item(kWordList, dictionary_count_ > 0);
  if (dictionary_count_ == 0) return;
  for (std::uint32_t word = 0; word < word_count_; ++word) {
    std::optional<std::u16string> text = word_text(word);
    if (!text) break;
    platform::ListViewItem item;
    item.mask = platform::LVIF_TEXT;
    item.item = static_cast<int>(word);
    item.text = text->data();
    send_item(kWordList, platform::LVM_INSERTITEM, 0, reinterpret_cast<platform::LParam>(&item));
  }
  select_word(word_count_ > 0 ? 0 : -1);
}

void DictionariesDialog::select_word(int word) const {
  if (word < 0) return;
  platform::ListViewItem state;
  state.mask = platform::LVIF_STATE;
  state.state = kSelectedAndFocused;
  state.state_mask = kSelectedAndFocused;
  send_item(kWordList, platform::LVM_SETITEMSTATE, static_cast<platform::WParam>(word),
            reinterpret_cast<platform::LParam>(&state));
  send_item(kWordList, platform::LVM_ENSUREVISIBLE, static_cast<platform::WParam>(word));
  send_item(kWordList, platform::LVM_SETSELECTIONMARK, 0, word);
}

void DictionariesDialog::update_controls() const {
  enable_item(kOptionalDictionaryControl, dictionary_count_ > 0);
  enable_item(kOptionalWordControl, dictionary_count_ > 0 && word_count_ > 0);
  const auto found = configurations_.configurations().find(selected_charset_);
  const bool configured = found != configurations_.configurations().end();
  enable_item(kUseDictionary, mode_ == kSeparateLettersMode && configured);
  const bool used = mode_ == kJoinedMode || (configured && found->second.use_dictionary());
  send_item(kUseDictionary, platform::BM_SETCHECK, used ? platform::BST_CHECKED : platform::BST_UNCHECKED);
}

int DictionariesDialog::on_command(int id, int code) {
  switch (id) {
    case kLanguageList: {
      if (code != platform::CBN_SELCHANGE) return Dialog::on_command(id, code);
      const platform::MessageResult at = std::max<platform::MessageResult>(0, send_item(kLanguageList, platform::CB_GETCURSEL));
      select_charset(static_cast<std::uint32_t>(send_item(kLanguageList, platform::CB_GETITEMDATA, static_cast<platform::WParam>(at))));
      fill_words();
      update_controls();
      return 1;
    }
    case kAddCommand:
      add_word();
      return 1;
    case kDeleteCommand:
      delete_word();
      update_controls();
      return 1;
    case kUseDictionary:
      if (mode_ == kSeparateLettersMode) switch_dictionary();
      return Dialog::on_command(id, code);
    default:
      return Dialog::on_command(id, code);
  }
}

void DictionariesDialog::report_refusal(int status) {
  const std::u16string caption = localizer().string(kErrorCaption);
  platform::message_box(window(), engine_.error_text(status), caption, kStopIcon);
  read_word_count();
  fill_words();
  update_controls();
}

void DictionariesDialog::add_word() {
  if (dictionary_count_ == 0) return;
  WordDialog word(u"", selected_dictionary_, false, engine_, host_);
  if (!word.run(window())) return;
  platform::ListViewItem clear;
  clear.mask = platform::LVIF_STATE;
  clear.state_mask = kSelectedAndFocused;
  if (selected_word_ >= 0) {
    send_item(kWordList, platform::LVM_SETITEMSTATE, static_cast<platform::WParam>(selected_word_),
              reinterpret_cast<platform::LParam>(&clear));
  }
  std::uint32_t charset = 0;
  int status = engine_.user_dictionary_charset(selected_dictionary_, &charset);
  if (status == 0) status = engine_.add_user_dictionary_word(charset, word.text().c_str(), kWordProbability);
  if (status == 0) status = engine_.save_user_dictionaries();
  std::uint32_t position = 0;
  std::uint8_t found = 0;
  if (status == 0) status = engine_.search_user_dictionary(charset, word.text().c_str(), &position, &found);
  if (status != 0 || found == 0) {
    report_refusal(status);
    return;
  }
  std::u16string text = word.text();
  platform::ListViewItem item;
  item.mask = platform::LVIF_TEXT;
  item.item = static_cast<int>(position);
  item.text = text.data();
  send_item(kWordList, platform::LVM_INSERTITEM, 0, reinterpret_cast<platform::LParam>(&item));
  ++word_count_;
  selected_word_ = static_cast<int>(position);
  select_word(selected_word_);
  update_controls();
}

void DictionariesDialog::delete_word() {
  if (word_count_ == 0) return;
  const auto mark = static_cast<int>(send_item(kWordList, platform::LVM_GETSELECTIONMARK));
  if (mark < 0 || static_cast<std::uint32_t>(mark) >= word_count_) return;
  const std::optional<std::u16string> text = word_text(static_cast<std::uint32_t>(mark));
  if (!text) return;
  const FormatArg args[] = {std::u16string_view(*text)};
  const std::u16string question = localizer().format(kDeleteQuestion, args, kQuestionUnits);
  const std::u16string caption = localizer().string(kDeleteCaption);
  if (platform::message_box(window(), question, caption, kOkCancel) != platform::IDOK) return;
  int index = static_cast<int>(send_item(kWordList, platform::LVM_GETSELECTIONMARK));
  int status = engine_.remove_user_dictionary_word(selected_charset_, static_cast<std::uint32_t>(index));
  if (status == 0) status = engine_.save_user_dictionaries();
  if (status != 0) {
    report_refusal(status);
    return;
  }
  send_item(kWordList, platform::LVM_DELETEITEM, static_cast<platform::WParam>(index));
  --word_count_;
  if (word_count_ == 0) {
    selected_word_ = -1;
    enable_item(kOptionalWordControl, false);
    return;
  }
  if (static_cast<std::uint32_t>(index) >= word_count_) --index;
  selected_word_ = index;
  select_word(index);
}

void DictionariesDialog::switch_dictionary() const {
  const auto found = configurations_.configurations().find(selected_charset_);
  if (found == configurations_.configurations().end()) return;
  const bool on = send_item(kUseDictionary, platform::BM_GETCHECK) == platform::BST_CHECKED;
  if (found->second.use_dictionary() == on) return;
  configurations_.replace(Configuration(found->second.title(), found->second.charsets(), on));
}

int DictionariesDialog::on_notify(int control_id, const platform::NotifyHeader& header) {
  switch (header.code) {
    case platform::PSN_HELP:
      on_help();
      return 1;
    case platform::PSN_SETACTIVE:
      fill_languages();
      fill_words();
      update_controls();
      return 0;
    default:
      return Dialog::on_notify(control_id, header);
  }
}

int DictionariesDialog::on_help() { return services_.help.show(kDictionariesTopic); }

}  // namespace ductra
