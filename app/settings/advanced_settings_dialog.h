// The advanced settings, opened from the recognition page: buttons to the
// copybook and to the user dictionaries, and the prompt frequency (how
// often the alternatives menu offers itself), which may be chosen only in
// the joined and separate recognition modes. It edits the sheet's working
// copy of the settings directly; the changes count when the sheet is
// accepted. Run modally without a menu bar. UI thread only.
#pragma once

#include "app/common/settings.h"
#include "app/settings/help_titled_dialog.h"
#include "app/settings/page_services.h"

namespace ductra {

// The prompt frequencies' strings, item n standing for UsePrompt n.
inline constexpr std::uint32_t kPromptFrequencyStrings[] = {74, 75, 76, 77};

class AdvancedSettingsDialog final : public HelpTitledDialog {
 public:
  // Everything given must outlive the dialog.
  AdvancedSettingsDialog(Settings& settings, Configurations& configurations, const PageServices& services)
      : settings_(settings), configurations_(configurations), services_(services) {}

  int on_init_dialog() override;
  int on_notify(int control_id, const platform::NotifyHeader& header) override;
  int on_command(int id, int code) override;
  int on_help() override;

 private:
  void enable_prompt_frequency() const;

  Settings& settings_;
  Configurations& configurations_;
  const PageServices& services_;
};

}  // namespace ductra
