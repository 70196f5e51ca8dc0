// Error reporting bound to the running application: boxes and engine error
// reports (the ErrorReporter) reach the UI thread through the shell
// window, pause the published controller while they show, and an engine
// error ends the run in order (default input method, settings and
// configurations saved, the message loop left). Engine start failures are
// written to standard error: the application then runs without an engine
// and shows nothing.
#pragma once

#include "app/common/error_reports.h"
#include "app/shell/controller_parts.h"
#include "appplatform/registry.h"

namespace ductra {

class ShellErrorHost final : public ErrorReportHost, public ErrorReports, private PausableController {
 public:
  ShellErrorHost(const platform::Registry& registry, ControllerSettings& settings);

  // The configurations saved with the settings when an error ends the run;
  // null (the default) while there are none to save.
  void attach_configurations(ConfigurationControl* configurations) { configurations_ = configurations; }

  // ErrorReports, for the controller and the start-up.
  void show_error_box(int first, int second) override;
  void report_engine_error(const ExceptionInfo& info) override;
  void report_start_failure(const EngineStartFailure& failure) override;

  // ErrorReportHost, for the reporter.
  void run_on_ui_thread(const std::function<void()>& work) override;
  PausableController* controller() override;
  void select_default_input_method() override;
  void save_settings_and_configurations() override;
  void quit_message_loop(int exit_code) override;

 private:
  // The published controller, paused and resumed through this object.
  bool is_active() const override;
  void set_active(bool active) override;
  void set_modal_box(bool open) override;
  std::optional<int> capture_mode() const override;
  void set_capture_mode(int mode) override;

  const platform::Registry& registry_;
  ControllerSettings& settings_;
  ConfigurationControl* configurations_ = nullptr;
  ErrorReporter reporter_;
};

}  // namespace ductra
