#include "app/settings/recognition_page.h"

#include <iterator>

#include "app/common/localizer.h"
#include "app/settings/advanced_settings_dialog.h"
#include "app/settings/dialog_templates.h"
#include "app/settings/settings_lists.h"
#include "appplatform/dialog/control_constants.h"

namespace ductra {
namespace {

constexpr int kDelayTrackbar = 1047;
constexpr int kDelayLabel = 1050;
constexpr int kAutoSpace = 1066;
constexpr int kSpaceAfterResult = 1080;
constexpr int kAdvanced = 1065;
constexpr int kCopybook = 1094;
constexpr int kModeList = 40013;
constexpr int kFirstDelayPosition = 1;
constexpr int kLastDelayPosition = 30;
constexpr int kMillisecondsPerPosition = 100;
constexpr std::uint32_t kDelayFormat = 31;
constexpr std::size_t kDelayUnits = 64;
constexpr std::size_t kModeUnits = 64;
// Below this mode a trailing space may be added.
constexpr std::int32_t kLetterByLetterMode = 2;

platform::WParam checked(bool on) { return on ? platform::BST_CHECKED : platform::BST_UNCHECKED; }

}  // namespace

int mode_item_of(std::int32_t recognize_mode) {
  for (std::size_t i = 0; i < std::size(kModeOfItem); ++i) {
    if (kModeOfItem[i] == recognize_mode) return static_cast<int>(i);
  }
  return 0;
}

std::int32_t mode_of_item(std::intptr_t item) {
  if (item < 0 || item >= static_cast<std::intptr_t>(std::size(kModeOfItem))) return kIntelligentMode;
  return kModeOfItem[item];
}

RecognitionPage::RecognitionPage(int index, Settings& settings, Configurations& configurations,
                                 const PageServices& services)
    : SettingsPage(index, kRecognitionTopic, services.help),
      settings_(settings),
      configurations_(configurations),
      services_(services) {}

int RecognitionPage::dialog_id() const { return kRecognitionPageTemplate; }

int RecognitionPage::on_init_dialog() {
  send_item(kDelayTrackbar, platform::TBM_SETRANGE, 1, platform::make_lparam(kFirstDelayPosition, kLastDelayPosition));
  send_item(kDelayTrackbar, platform::TBM_SETTICFREQ, 1);
  add_string_items(*this, kModeList, kModeItemStrings, kModeUnits);
  return TitledDialog::on_init_dialog();
}

void RecognitionPage::show_delay() const {
  const auto position = static_cast<int>(send_item(kDelayTrackbar, platform::TBM_GETPOS));
  const FormatArg seconds[] = {position * kMillisecondsPerPosition * 0.001};
  set_item_text(kDelayLabel, localizer().format(kDelayFormat, seconds, kDelayUnits));
}

void RecognitionPage::enable_trailing_space() const {
  enable_item(kSpaceAfterResult, settings_.recognize_mode < kLetterByLetterMode);
}

void RecognitionPage::fill() {
  send_item(kDelayTrackbar, platform::TBM_SETPOS, 1, settings_.time_out / kMillisecondsPerPosition);
  send_item(kAutoSpace, platform::BM_SETCHECK, checked(settings_.auto_space != 0));
  send_item(kSpaceAfterResult, platform::BM_SETCHECK, checked(settings_.space_after_result != 0));
  show_delay();
  send_item(kModeList, platform::CB_SETCURSEL, static_cast<platform::WParam>(mode_item_of(settings_.recognize_mode)));
  enable_trailing_space();
}

void RecognitionPage::read_back() {
  settings_.time_out = static_cast<std::int32_t>(send_item(kDelayTrackbar, platform::TBM_GETPOS)) * kMillisecondsPerPosition;
  if (item(kAutoSpace)) settings_.auto_space = send_item(kAutoSpace, platform::BM_GETCHECK) == platform::BST_CHECKED;
  settings_.space_after_result = send_item(kSpaceAfterResult, platform::BM_GETCHECK) == platform::BST_CHECKED;
  settings_.recognize_mode = mode_of_item(item(kModeList) ? send_item(kModeList, platform::CB_GETCURSEL) : -1);
}

int RecognitionPage::on_hscroll(int, int, platform::WindowHandle control) {
  if (control && control == item(kDelayTrackbar)) show_delay();
  return 0;
}

int RecognitionPage::on_command(int id, int code) {
  switch (id) {
    case kAdvanced: {
      AdvancedSettingsDialog advanced(settings_, configurations_, services_);
      advanced.run_modal(window(), kAdvancedSettingsTemplate, 0);
      return 1;
    }
    case kCopybook:
      services_.dialogs.run_copybook(window(), 0);
      return 1;
    case kModeList:
      read_back();
      enable_trailing_space();
      return Dialog::on_command(id, code);
    default:
      return Dialog::on_command(id, code);
  }
}

}  // namespace ductra
