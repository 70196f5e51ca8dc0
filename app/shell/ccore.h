// CCore, the engine client: starts and frees the engine, checks and adds the
// ink, and runs every recognition on a thread of its own, the engine thread,
// under the recognition watchdog.
//
// One recognition at a time: whoever starts one takes the core semaphore
// (take_semaphore, or start_recognition at pen up) and the engine thread
// gives it back when the recognition is done. While a caller holds it the
// pane is its own: add_strokes, then request(). The engine thread posts
// WM_DUCTRA_RECOGNIZED when a result is ready; result_text() holds it until
// the next request. The engine's questions go to the shell window as a Send,
// during which the UI thread may call the engine (see EngineGate).
//
// When the engine cannot start, the failure is reported at once and the
// client runs without it: take_semaphore() answers false and
// start_recognition() does nothing. The destructor stops a running
// recognition, waits for the engine thread and the watchdog (answering
// messages sent to the calling thread meanwhile), then frees the engine.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

#include "app/shell/core_shell.h"
#include "app/shell/engine.h"
#include "app/shell/ink_limits.h"
#include "app/shell/recognition_overrides.h"
#include "app/shell/recognition_watchdog.h"
#include "appplatform/event.h"
#include "appplatform/semaphore.h"
#include "appplatform/thread.h"

namespace ductra {

struct CoreFiles {
  std::filesystem::path data_file;              // the engine's data file
  std::filesystem::path recognition_overrides;  // "\rec_param.txt"
};

// The name of the core semaphore.
inline constexpr std::u16string_view kCoreSemaphoreName = u"Korvale Software Core Semaphore";

// The limits the client's watchdog is built with.
inline constexpr WatchdogLimits kCoreWatchdogLimits{5000, 10000, 15000};

// The result buffer: 255 characters and the terminator.
inline constexpr std::size_t kResultUnits = 256;

// What add_strokes did with the ink.
enum class InkOutcome {
  added,
  refused,     // beyond the ink limits, or empty: nothing added
  retrying,    // the engine failed; the shell is asked to hand the ink over again
  dropped,     // the engine failed again (or not for lack of memory): reported
};

class CCore {
 public:
  CCore(Engine& engine, CoreShell& shell, CoreFiles files);
  ~CCore();
  CCore(const CCore&) = delete;
  CCore& operator=(const CCore&) = delete;

  // Whether the engine started and the client can recognise.
  bool has_engine() const { return semaphore_ != nullptr; }

  // The request switches of the next recognition; prompt_frequency is the
  // UsePrompt setting (0 never asks the shell, 3 asks most).
  void set_params(int prompt_frequency, bool long_limit, bool dictionary, bool mode_two);
  // While set, the long-limit and dictionary switches count as 0.
  void set_variants_off(bool off);

  // Waits for the core semaphore, answering messages sent to the calling
  // thread; false without an engine or when the wait ends otherwise.
  bool take_semaphore();

  // With the semaphore held: checks the ink against the limits and adds it
  // stroke by stroke. A failure of the engine empties the pane; the first
  // one of an ink for lack of memory asks the shell to hand it over again
  // (WM_DUCTRA_STROKE_ERROR), any other is reported and the ink dropped.
  InkOutcome add_strokes(std::span<const InkStrokeView> strokes, int display_scale);

  // With the semaphore held: wakes the engine thread to recognise the pane
  // (after a retrying add_strokes only to give the semaphore back).
  void request();

  // Pen up (capture thread): waits for a running recognition to end, marks
  // the client busy and lets the engine thread give the semaphore back.
  void start_recognition();

  // Ink waits for recognition or a recognition runs.
  bool is_busy() const { return pending_.load(); }

  // The last result; read it after WM_DUCTRA_RECOGNIZED.
  std::u16string_view result_text() const { return {result_.data(), result_length_}; }
  int result_length() const { return static_cast<int>(result_length_); }

  // The engine's result callback; context is the CCore.
  static int variants_callback(crResultChoice* choice, void* context);

 private:
  void start();
  void core_thread();
  void recognise();
  RequestSwitches request_switches();
  crRecognitionParams build_request(const RequestSwitches& switches);
  InkOutcome fail_submission(int status, bool was_retry);

  Engine& engine_;
  CoreShell& shell_;
  const CoreFiles files_;
  std::unique_ptr<RecognitionWatchdog> watchdog_;
  std::array<char16_t, kResultUnits> result_{};
  std::size_t result_length_ = 0;

  std::atomic<bool> quit_{false};
  std::atomic<bool> shutting_down_{false};
  std::atomic<bool> pending_{false};
  std::atomic<bool> request_{false};
  std::atomic<bool> awaiting_retry_{false};
  std::atomic<int> prompt_frequency_{0};
  std::atomic<bool> long_limit_{false};
  std::atomic<bool> dictionary_{false};
  std::atomic<bool> mode_two_{false};
  std::atomic<bool> variants_off_{false};

  std::unique_ptr<platform::Event> work_;
  std::shared_ptr<platform::Semaphore> semaphore_;
  std::unique_ptr<platform::Thread> engine_thread_;
};

}  // namespace ductra
