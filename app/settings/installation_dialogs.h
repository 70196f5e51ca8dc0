// The two dialogs of the first run, shown over the installation window one
// after the other: the installation is done (how to choose Ductra as the
// input method and write over the whole screen), then how a dot, a comma
// and a space are written. Each ends with its OK button. UI thread only.
#pragma once

#include "app/settings/dialog.h"

namespace ductra {

// The text of the first dialog (string 32) and the control that shows it.
inline constexpr std::uint32_t kInstallationDoneText = 32;
inline constexpr int kInstallationDoneControl = 1020;

class InstallationDoneDialog final : public Dialog {
 public:
  int on_init_dialog() override;
};

// Runs dialog `dialog_id` (133 or 154) modally over `parent`; false when it
// is neither or could not be made.
bool run_installation_dialog(int dialog_id, platform::WindowHandle parent);

}  // namespace ductra
