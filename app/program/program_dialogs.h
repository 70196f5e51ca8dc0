// The dialogs the settings open that belong to other parts of the
// application: the user dictionaries (with the word dialog) and the
// copybook. UI thread.
#pragma once

#include "app/copybook/copybook_model.h"
#include "app/settings/page_services.h"
#include "app/settings/word_dialog.h"

namespace ductra {

class ErrorReports;

class ProgramDialogs final : public SettingsDialogs {
 public:
  // Everything given must outlive the object; `services` is used only
  // while a dialog runs (it may be built after this object).
  ProgramDialogs(Engine& engine, ErrorReports& errors, WordDialogHost& word_host, const PageServices& services);

  void run_copybook(platform::WindowHandle parent, CharsetId charset) override;
  void run_dictionaries(platform::WindowHandle parent, int recognize_mode, Configurations& configurations) override;

 private:
  Engine& engine_;
  CopybookServices copybook_;
  WordDialogHost& word_host_;
  const PageServices& services_;
};

}  // namespace ductra
