// What the engine client needs of the application around it: the shell
// window, which the engine thread reaches by messages, and the error reports.
//
// The engine thread calls send_variants, post_recognized, report_engine_error
// and the failure reports; the UI thread calls post_stroke_error (from
// add_strokes). An implementation binds them to the shell window and to the
// application's error boxes.
#pragma once

#include <filesystem>
#include <string>
#include <thread>

#include "app/shell/exception_info.h"
#include "inkrec/inkrec.h"

namespace ductra {

// Texts of the application's error boxes.
inline constexpr int kStringCannotCreateEvent = 14;
inline constexpr int kStringCannotCreateThread = 15;
inline constexpr int kStringWaitFailed = 49;
inline constexpr int kStringRestartAdvice = 255;

// The engine could not start on its data file.
struct EngineStartFailure {
  std::filesystem::path data_file;
  int status = 0;
  std::u16string message;  // the engine's text for the status
};

class CoreShell {
 public:
  virtual ~CoreShell() = default;

  // The thread that owns the shell window; it answers send_variants and may
  // call the engine while it does.
  virtual std::thread::id ui_thread() const = 0;

  // Sends the question to the shell window (WM_DUCTRA_VARIANTS, 0x8526) and
  // returns when the UI thread has written its answer into it.
  virtual void send_variants(crResultChoice& choice) = 0;

  // Posts WM_DUCTRA_RECOGNIZED (0x8522): a result is ready.
  virtual void post_recognized() = 0;

  // Posts WM_DUCTRA_STROKE_ERROR (0x8523): the ink is to be handed over again.
  virtual void post_stroke_error() = 0;

  virtual void report_engine_error(const ExceptionInfo& info) = 0;
  virtual void report_start_failure(const EngineStartFailure& failure) = 0;

  // An error box of two string ids.
  virtual void show_error_box(int first_string, int second_string) = 0;

  // The engine thread can wait for work no more: switch to the default input
  // method and end the application.
  virtual void quit_application() = 0;
};

}  // namespace ductra
