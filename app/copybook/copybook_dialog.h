// The copybook dialog (template 120, "Прописи", no menu bar): the window
// the CopybookModel works in. The model exists while the window does; it
// goes when the window is destroyed, writing the user's variant choices to
// the engine when any use changed. Help topic "copybook". UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "app/copybook/copybook_model.h"
#include "app/settings/help_launcher.h"
#include "app/settings/help_titled_dialog.h"

namespace ductra {

class CopybookDialog final : public HelpTitledDialog {
 public:
  // `charset` is the one to show first (0: the first of the list).
  // Everything given must outlive the dialog.
  CopybookDialog(std::uint32_t charset, const CopybookServices& services, const HelpLauncher& help)
      : charset_(charset), services_(services), help_(help) {}

  // Runs the dialog modally over `parent`; the value it ended with.
  std::intptr_t run(platform::WindowHandle parent);

  int on_init_dialog() override;
  int on_destroy() override;
  int on_command(int id, int code) override;
  int on_notify(int control_id, const platform::NotifyHeader& header) override;
  int on_help() override;

  // The model while the window exists; null otherwise.
  CopybookModel* model() { return model_.get(); }

 private:
  std::uint32_t charset_;
  const CopybookServices& services_;
  const HelpLauncher& help_;
  std::unique_ptr<CopybookModel> model_;
};

}  // namespace ductra
