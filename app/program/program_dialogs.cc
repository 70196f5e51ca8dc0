#include "app/program/program_dialogs.h"

#include "app/settings/dictionaries_dialog.h"

namespace ductra {

void ProgramDialogs::run_copybook(platform::WindowHandle, CharsetId) {}

void ProgramDialogs::run_dictionaries(platform::WindowHandle parent, int recognize_mode,
                                      Configurations& configurations) {
  DictionariesDialog(recognize_mode, configurations, engine_, word_host_, services_).run(parent);
}

}  // namespace ductra
