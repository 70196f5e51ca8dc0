// What the word dialog asks of the running application: the input panel
// switched to the user's default input method while a word is typed and
// back to this application's own afterwards, the panel hidden while a box
// is open, and the published controller told that a dialog is open (it
// then ignores the panel's showing). UI thread.
#pragma once

#include "app/settings/word_dialog.h"
#include "appplatform/registry.h"

namespace ductra {

class ProgramWordDialogHost final : public WordDialogHost {
 public:
  // `registry` (where the default input method is recorded) must outlive
  // the object.
  explicit ProgramWordDialogHost(const platform::Registry& registry) : registry_(registry) {}

  void select_default_input_method() override;
  void select_own_input_method(bool shown) override;
  void set_dialog_open(bool open) override;
  void hide_panel_for_box(bool hidden) override;

 private:
  const platform::Registry& registry_;
};

}  // namespace ductra
