// Error boxes and reports of engine errors.
//
// Boxes and reports may be asked for on any thread; they are shown on the
// UI thread, with the controller paused while the box is open (inactive,
// capture mode 2, its modal-box flag set) and put back as it was when the
// box closes. Only one engine error is reported at a time: a report that
// comes while another is shown is dropped. An engine error other than
// "out of memory" ends the application in order, on the UI thread: the
// input panel goes back to the default input method, the settings and
// configurations are saved and the message loop ends with exit code 0;
// every later report is dropped.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/common/localizer.h"
#include "app/shell/exception_info.h"

namespace ductra {

// The flags of every error box: stop icon, foreground, topmost.
inline constexpr std::uint32_t kErrorBoxFlags = 0x50010;
// Texts: the advice to restart or reinstall, and the engine error's format.
inline constexpr std::uint32_t kRestartAdviceText = 255;
inline constexpr std::uint32_t kEngineErrorText = 257;
inline constexpr int kEngineOutOfMemory = -1;
inline constexpr std::u16string_view kOutOfMemoryText =
    u"Error: not enough memory. Please stop all unnecessary running programs and try again.";
// The capture mode of the ink layer while a box is open: nothing captured.
inline constexpr int kCaptureOff = 2;

// What a box needs of the controller to pause it. UI thread only.
class PausableController {
 public:
  virtual ~PausableController() = default;
  virtual bool is_active() const = 0;
  virtual void set_active(bool active) = 0;
  virtual void set_modal_box(bool open) = 0;
  // The ink layer's capture mode; nothing while there is no ink layer.
  virtual std::optional<int> capture_mode() const = 0;
  virtual void set_capture_mode(int mode) = 0;
};

// What error reporting needs of the running application.
class ErrorReportHost {
 public:
  virtual ~ErrorReportHost() = default;
  // Runs `work` on the UI thread and returns when it has run (at once when
  // called there); the caller's waits keep answering sent messages. A
  // UiThreadCaller on the shell window does this.
  virtual void run_on_ui_thread(const std::function<void()>& work) = 0;
  // The controller while it exists, else null. UI thread only.
  virtual PausableController* controller() = 0;
  // The steps of the orderly end, called in this order on the UI thread.
  virtual void select_default_input_method() = 0;
  virtual void save_settings_and_configurations() = 0;
  virtual void quit_message_loop(int exit_code) = 0;
};

class ErrorReporter {
 public:
  ErrorReporter(const Localizer& localizer, ErrorReportHost& host) : localizer_(localizer), host_(host) {}

  // A box of string `first` (at most 1023 units) and, unless `second` is 0,
  // a line break and string `second` (at most 255 units), captioned
  // "Ductra 9.0", without owner. Returns the button chosen.
  int show_error_box(std::uint32_t first, std::uint32_t second, std::uint32_t flags);

  // Shows the engine error in a box over the foreground window: the
  // out-of-memory text for -1 (the application goes on), else string 257
  // filled with string 255, the operation and the status (the application
  // ends in order).
  void report_engine_error(const ExceptionInfo& info);

  // True once a report has ended the application.
  bool has_ended_application() const { return ending_.load(); }

 private:
  struct Pause {
    bool was_active = false;
    std::optional<int> capture_mode;
  };

  std::optional<Pause> pause_controller();
  void resume_controller(const std::optional<Pause>& pause);
  std::u16string engine_error_text(const ExceptionInfo& info) const;
  void show_engine_error(const ExceptionInfo& info);
  void end_application();

  const Localizer& localizer_;
  ErrorReportHost& host_;
  int reports_ = 0;  // changed only by interlocked increment and decrement
  std::atomic<bool> ending_ = false;
};

}  // namespace ductra
