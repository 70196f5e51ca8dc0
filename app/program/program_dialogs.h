// The dialogs the settings open that belong to other parts of the
// application: the user dictionaries (with the word dialog) and the
// copybook. UI thread.
#pragma once

#include "app/settings/page_services.h"
#include "app/settings/word_dialog.h"

namespace ductra {

class ProgramDialogs final : public SettingsDialogs {
 public:
  // Everything given must outlive the object; `services` is used only
  // while a dialog runs (it may be built after this object).
  ProgramDialogs(Engine& engine, WordDialogHost& word_host, const PageServices& services)
      : engine_(engine), word_host_(word_host), services_(services) {}

  // The copybook dialog is not part of this build: nothing opens.
  void run_copybook(platform::WindowHandle parent, CharsetId charset) override;
  void run_dictionaries(platform::WindowHandle parent, int recognize_mode, Configurations& configurations) override;

 private:
  Engine& engine_;
  WordDialogHost& word_host_;
  const PageServices& services_;
};

}  // namespace ductra
