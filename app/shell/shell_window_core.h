// The engine client's view of the application, bound to the shell window:
// the engine thread's questions are Sent to it (WM_DUCTRA_VARIANTS) and its
// news Posted (WM_DUCTRA_RECOGNIZED, WM_DUCTRA_STROKE_ERROR); reports go to
// the error reports. The UI thread is the thread that builds this object.
#pragma once

#include <thread>

#include "app/shell/controller_parts.h"
#include "app/shell/core_shell.h"
#include "appplatform/window_system.h"

namespace ductra {

class ShellWindowCore final : public CoreShell {
 public:
  ShellWindowCore(platform::WindowSystem& windows, platform::WindowHandle shell_window, ErrorReports& errors,
                  InputPanel& input_panel)
      : windows_(windows),
        shell_window_(shell_window),
        errors_(errors),
        input_panel_(input_panel),
        ui_thread_(std::this_thread::get_id()) {}

  std::thread::id ui_thread() const override { return ui_thread_; }
  void send_variants(crResultChoice& choice) override;
  void post_recognized() override;
  void post_stroke_error() override;
  void report_engine_error(const ExceptionInfo& info) override { errors_.report_engine_error(info); }
  void report_start_failure(const EngineStartFailure& failure) override {
    errors_.report_start_failure(failure);
  }
  void show_error_box(int first, int second) override { errors_.show_error_box(first, second); }
  // Selects the default input method and ends the shell window's loop.
  void quit_application() override;

 private:
  platform::WindowSystem& windows_;
  const platform::WindowHandle shell_window_;
  ErrorReports& errors_;
  InputPanel& input_panel_;
  const std::thread::id ui_thread_;
};

}  // namespace ductra
