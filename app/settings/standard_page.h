// The first page of the settings sheet: the interface language, the ink
// pen's width (1..30) and colour with a live sample line, and the size of
// the movable language indicator. It edits the sheet's working copy of the
// settings. UI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/common/settings.h"
#include "app/settings/settings_page.h"

namespace ductra {

// One entry of the interface-language list.
struct InterfaceLanguage {
  std::uint16_t id = 0;
  std::u16string text;  // "English name [own name]"
};

// The languages whose bundles lie in `directory` ("ductra_loc.LLLL.lang",
// in file-name order), each listed when its name gives a language id and
// it holds strings 200 and 201.
std::vector<InterfaceLanguage> interface_languages(const std::filesystem::path& directory);

class StandardPage final : public SettingsPage {
 public:
  // `settings` and `help` must outlive the page.
  StandardPage(int index, Settings& settings, const HelpLauncher& help);

  int dialog_id() const override;
  int on_init_dialog() override;
  int on_notify(int control_id, const platform::NotifyHeader& header) override;
  int on_command(int id, int code) override;

  // The sample's window procedure: draws a line of the pen's width and
  // colour, round-ended above 3 pixels.
  static platform::MessageResult sample_proc(platform::WindowHandle window, std::uint32_t message,
                                             platform::WParam wparam, platform::LParam lparam);

 private:
  void fill() override;
  void read_back() override;
  void fill_languages();
  void choose_colour();
  void repaint_sample() const;

  Settings& settings_;
};

}  // namespace ductra
