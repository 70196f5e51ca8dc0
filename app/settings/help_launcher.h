// Opens the application's help: the page "\Windows\ductra_<language>.htm"
// (the language's English name, string 200 of the interface language) in
// the device's help viewer, at a topic ("#" and its name) when one is
// given. When the page is not installed, error box 44 says so and nothing
// is started. UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/common/localizer.h"
#include "appplatform/device_root.h"
#include "appplatform/program_map.h"

namespace ductra {

// The help viewer and the string of the help page's language name.
inline constexpr std::u16string_view kHelpViewer = u"PegHelp.exe";
inline constexpr std::uint32_t kHelpLanguageName = 200;
inline constexpr std::uint32_t kHelpMissingText = 44;

// Help topics of the dialogs and pages.
inline constexpr std::u16string_view kAboutTopic = u"about";
inline constexpr std::u16string_view kRecognitionTopic = u"recognition";
inline constexpr std::u16string_view kProfilesTopic = u"profiles";
inline constexpr std::u16string_view kStandardTopic = u"standard";
inline constexpr std::u16string_view kAdvancedSettingsTopic = u"advanced_settings";
inline constexpr std::u16string_view kCopybookTopic = u"copybook";
inline constexpr std::u16string_view kDictionariesTopic = u"dictionaries";

class HelpLauncher {
 public:
  // Shows error box `first` (with no second text).
  using ErrorBox = std::function<void(std::uint32_t first)>;

  // Everything given must outlive the launcher.
  HelpLauncher(const platform::DeviceRoot& root, const platform::ProgramMap& programs, const Localizer& localizer,
               ErrorBox error_box)
      : root_(root), programs_(programs), localizer_(localizer), error_box_(std::move(error_box)) {}

  // The help page of the interface language (a device path).
  std::u16string help_file() const;
  // Opens the help page at `topic` (empty: at its start). Always 1; a
  // viewer that fails to start is not reported.
  int show(std::u16string_view topic) const;

 private:
  const platform::DeviceRoot& root_;
  const platform::ProgramMap& programs_;
  const Localizer& localizer_;
  ErrorBox error_box_;
};

}  // namespace ductra
