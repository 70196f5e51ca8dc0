// The recognition page of the settings sheet: the recognition delay (the
// pen's rest before recognition starts, 100..3000 ms in steps of 100), the
// recognition mode and the trailing space, with a button to the advanced
// settings. It edits the sheet's working copy of the settings. UI thread
// only.
#pragma once

#include <cstdint>

#include "app/common/settings.h"
#include "app/settings/page_services.h"
#include "app/settings/settings_page.h"

namespace ductra {

// The mode list's items in order, as recognition modes; a stored mode not
// among them shows item 0, and no selection reads as the intelligent mode.
inline constexpr std::int32_t kModeOfItem[] = {2, 0, 1, 3};
inline constexpr std::uint32_t kModeItemStrings[] = {40014, 40016, 40015, 40017};

int mode_item_of(std::int32_t recognize_mode);
std::int32_t mode_of_item(std::intptr_t item);

class RecognitionPage final : public SettingsPage {
 public:
  // Everything given must outlive the page.
  RecognitionPage(int index, Settings& settings, Configurations& configurations, const PageServices& services);

  int dialog_id() const override;
  int on_init_dialog() override;
  int on_command(int id, int code) override;
  int on_hscroll(int code, int position, platform::WindowHandle control) override;

 private:
  void fill() override;
  void read_back() override;
  void show_delay() const;
  void enable_trailing_space() const;

  Settings& settings_;
  Configurations& configurations_;
  const PageServices& services_;
};

}  // namespace ductra
