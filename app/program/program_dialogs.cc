#include "app/program/program_dialogs.h"

#include "app/copybook/copybook_dialog.h"
#include "app/settings/dictionaries_dialog.h"
#include "app/shell/controller_parts.h"

namespace ductra {

ProgramDialogs::ProgramDialogs(Engine& engine, ErrorReports& errors, WordDialogHost& word_host,
                               const PageServices& services)
    : engine_(engine),
      copybook_{engine, [&errors](const ExceptionInfo& info) { errors.report_engine_error(info); },
                [&errors](std::uint32_t first, std::uint32_t second) {
                  errors.show_error_box(static_cast<int>(first), static_cast<int>(second));
                }},
      word_host_(word_host),
      services_(services) {}

void ProgramDialogs::run_copybook(platform::WindowHandle parent, CharsetId charset) {
  CopybookDialog(charset, copybook_, services_.help).run(parent);
}

void ProgramDialogs::run_dictionaries(platform::WindowHandle parent, int recognize_mode,
                                      Configurations& configurations) {
  DictionariesDialog(recognize_mode, configurations, engine_, word_host_, services_).run(parent);
}

}  // namespace ductra
