#include "app/program/shell_error_host.h"

#include <cstdio>

#include "app/common/input_method.h"
#include "app/common/localizer.h"
#include "app/common/ui_thread_caller.h"
#include "app/shell/controller.h"
#include "app/shell/shell_window.h"
#include "appplatform/text.h"

namespace ductra {

ShellErrorHost::ShellErrorHost(const platform::Registry& registry, ControllerSettings& settings)
    : registry_(registry), settings_(settings), reporter_(localizer(), *this) {}

void ShellErrorHost::show_error_box(int first, int second) {
  reporter_.show_error_box(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(second), kErrorBoxFlags);
}

void ShellErrorHost::report_engine_error(const ExceptionInfo& info) { reporter_.report_engine_error(info); }

void ShellErrorHost::report_start_failure(const EngineStartFailure& failure) {
  std::fprintf(stderr, "Ductra: the engine cannot start on %s: status %d, %s\n", failure.data_file.c_str(),
               failure.status, platform::to_utf8(failure.message).c_str());
}

void ShellErrorHost::run_on_ui_thread(const std::function<void()>& work) { UiThreadCaller(shell_window()).run(work); }

PausableController* ShellErrorHost::controller() {
  return published_controller() != nullptr ? static_cast<PausableController*>(this) : nullptr;
}

void ShellErrorHost::select_default_input_method() { select_default_im(registry_, SipShow::unchanged); }

void ShellErrorHost::save_settings_and_configurations() {
  settings_.save_settings();
  if (configurations_ != nullptr) configurations_->save_configurations();
}

void ShellErrorHost::quit_message_loop(int exit_code) {
  platform::WindowSystem::current().post_quit_message(exit_code);
}

bool ShellErrorHost::is_active() const { return published_controller()->is_active(); }

void ShellErrorHost::set_active(bool active) { published_controller()->set_active(active); }

void ShellErrorHost::set_modal_box(bool open) { published_controller()->set_modal_box(open); }

std::optional<int> ShellErrorHost::capture_mode() const {
  const InkLayer* ink = published_controller()->ink_layer();
  return ink != nullptr ? std::optional<int>(ink->capture_mode()) : std::nullopt;
}

void ShellErrorHost::set_capture_mode(int mode) {
  if (InkLayer* ink = published_controller()->ink_layer()) ink->set_capture_mode(mode);
}

}  // namespace ductra
