#include "app/settings/settings_sheet.h"

#include "app/common/localizer.h"
#include "app/common/menu_bar.h"
#include "app/settings/branding.h"
#include "app/settings/profiles_page.h"
#include "app/settings/recognition_page.h"
#include "app/settings/standard_page.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/property_sheet.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

enum PageIndex { kStandardPage, kProfilesPage, kRecognitionPage, kAboutPage };

constexpr int kSheetCallbackAnswer = 524;

// The running sheet's window (process-wide; UI thread).
platform::WindowHandle running_sheet;

}  // namespace

int SettingsSheet::show(platform::WindowHandle, Settings* settings, Configurations* configurations) {
  if (settings == nullptr || configurations == nullptr || open_) return -1;
  open_ = true;
  working_ = *settings;
  caller_ = settings;
  int result = 0;
  {
    Branding branding(working_.branding);
    StandardPage standard(kStandardPage, working_, services_.help);
    ProfilesPage profiles(kProfilesPage, *configurations, services_);
    SettingsPage* pages[] = {&standard, &profiles,
                             &branding.recognition_page(kRecognitionPage, working_, *configurations, services_),
                             &branding.about_page(kAboutPage, services_)};

    platform::PropertySheetHeader header;
    header.flags = kSheetFlags;
    header.caption = std::u16string(kProductCaption);
    for (SettingsPage* page : pages) header.pages.push_back(page->make_page());
    header.start_page = 0;
    header.callback = &SettingsSheet::callback;
    if (platform::property_sheet(header) > 0) {
      working_.sheet_page_number = current_sheet_page();
      *caller_ = working_;
      localizer().set_language(working_.language);
      result = 1;
    }
  }
  running_sheet = {};
  caller_ = nullptr;
  open_ = false;
  return result;
}

int SettingsSheet::close() {
  platform::WindowSystem& system = platform::WindowSystem::current();
  if (!running_sheet || !system.is_window(running_sheet)) return 0;
  if (caller_ != nullptr) *caller_ = working_;
  system.destroy_window(running_sheet);
  running_sheet = {};
  open_ = false;
  return 1;
}

int SettingsSheet::callback(platform::WindowHandle sheet, int event, platform::LParam) {
  if (event == platform::PSCB_INITIALIZED) {
    create_menu_bar(localizer(), sheet, 0, SHCMBF_EMPTYBAR);
    platform::WindowSystem& system = platform::WindowSystem::current();
    if (const platform::WindowHandle tabs = platform::dialog_item(sheet, platform::kSheetTabControl)) {
      system.set_window_style(tabs, system.window_style(tabs).value_or(0) | platform::TCS_BOTTOM);
    }
    running_sheet = sheet;
  }
  return event == platform::PSCB_INITIALIZED || event == platform::PSCB_GETVERSION ? kSheetCallbackAnswer : 0;
}

platform::WindowHandle SettingsSheet::window() { return running_sheet; }

SheetControl::Result ControllerSheet::run_sheet(platform::WindowHandle parent) {
  switch (sheet_.show(parent, &settings_, &configurations_)) {
    case 1:
      return Result::ok;
    case -1:
      return Result::already_running;
    default:
      return Result::cancelled;
  }
}

}  // namespace ductra
