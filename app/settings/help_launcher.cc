#include "app/settings/help_launcher.h"

#include <array>

#include "appplatform/device_file.h"
#include "appplatform/launcher.h"
#include "appplatform/process.h"

namespace ductra {
namespace {

constexpr std::size_t kLanguageNameUnits = 128;

}  // namespace

std::u16string HelpLauncher::help_file() const {
  std::array<char16_t, kLanguageNameUnits> language{};
  localizer_.get_string(kHelpLanguageName, language);
  return u"\\Windows\\ductra_" + std::u16string(language.data()) + u".htm";
}

int HelpLauncher::show(std::u16string_view topic) const {
  const std::u16string file = help_file();
  platform::FileAttributes attributes;
  if (platform::file_attributes(root_, file, &attributes) != platform::Status::ok) {
    if (error_box_) error_box_(kHelpMissingText);
    return 1;
  }
  std::u16string address = file;
  if (!topic.empty()) address += u"#" + std::u16string(topic);
  platform::Process viewer;
  platform::start_program(root_, programs_, kHelpViewer, address, &viewer);
  return 1;
}

}  // namespace ductra
