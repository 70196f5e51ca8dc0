#include "app/shell/ccore.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "app/shell/result_choice.h"
#include "appplatform/named_objects.h"
#include "appplatform/wait.h"

namespace ductra {
namespace {

constexpr const char16_t* kWhere = u"CCore::CoreThread";
constexpr int kOutOfMemory = -1;
constexpr int kStoppedOnRequest = 4034;

// The right-to-left charsets: Hebrew, Arabic, Arabic digits.
bool is_right_to_left(std::uint32_t charset_id) {
  return charset_id == 26 || charset_id == 39 || charset_id == 40;
}

std::int16_t clamp_to_16_bits(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(
      value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::vector<crPoint> engine_points(InkStrokeView stroke) {
  std::vector<crPoint> points;
  points.reserve(stroke.size());
  for (const InkPoint& p : stroke) points.push_back({clamp_to_16_bits(p.x), clamp_to_16_bits(p.y)});
  return points;
}

// How often the end of the engine thread is awaited before the stop flag is
// set again (a recognition clears the flag as it starts).
constexpr std::uint32_t kStopRepeatMs = 100;

}  // namespace

CCore::CCore(Engine& engine, CoreShell& shell, CoreFiles files)
    : engine_(engine),
      shell_(shell),
      files_(std::move(files)),
      watchdog_(std::make_unique<RecognitionWatchdog>(engine, kCoreWatchdogLimits)) {
  start();
}

CCore::~CCore() {
  shutting_down_ = true;
  if (engine_thread_) {
    engine_.set_stop_flag();
    quit_ = true;
    work_->set();
    constexpr platform::WaitOptions kAnswering{.stoppable = false, .services_sent_messages = true};
    while (platform::wait_for(*engine_thread_, kStopRepeatMs, kAnswering).status ==
           platform::WaitStatus::timeout) {
      engine_.set_stop_flag();
    }
    engine_thread_.reset();
  }
  watchdog_.reset();
  if (has_engine()) {
    engine_.clear_pane();
    engine_.free();
  }
}

void CCore::start() {
  engine_.free();
  if (const int status = engine_.init(files_.data_file.u16string()); status != 0) {
    engine_.free();
    shell_.report_start_failure({files_.data_file, status, engine_.error_text(status)});
    return;
  }
  work_ = std::make_unique<platform::Event>(platform::EventReset::automatic, false);
  semaphore_ = platform::create_semaphore(kCoreSemaphoreName, 1, 1).object;
  if (semaphore_) {
    engine_thread_ = platform::Thread::start([this] {
      core_thread();
      return 0u;
    });
  }
  if (!engine_thread_) {
    shell_.show_error_box(semaphore_ ? kStringCannotCreateThread : kStringCannotCreateEvent,
                          kStringRestartAdvice);
    semaphore_.reset();
    work_.reset();
    engine_.free();
  }
}

void CCore::set_params(int prompt_frequency, bool long_limit, bool dictionary, bool mode_two) {
  prompt_frequency_ = prompt_frequency;
  long_limit_ = long_limit;
  dictionary_ = dictionary;
  mode_two_ = mode_two;
}

void CCore::set_variants_off(bool off) { variants_off_ = off; }

bool CCore::take_semaphore() {
  return semaphore_ != nullptr && platform::wait_for(*semaphore_, platform::kInfinite).signalled();
}

InkOutcome CCore::add_strokes(std::span<const InkStrokeView> strokes, int display_scale) {
  const bool was_retry = awaiting_retry_.exchange(false);
  if (!has_engine() || check_ink(strokes, display_scale) != InkVerdict::accepted) {
    return InkOutcome::refused;
  }
  for (const InkStrokeView stroke : strokes) {
    if (stroke.empty()) continue;
    if (const int status = engine_.add_stroke(engine_points(stroke)); status != 0) {
      return fail_submission(status, was_retry);
    }
  }
  return InkOutcome::added;
}

// Nothing of a failed ink stays in the pane, so a second attempt does not
// add its first strokes twice. Failures are counted per ink: the first
// one for lack of memory is retried, the next one is reported.
InkOutcome CCore::fail_submission(int status, bool was_retry) {
  engine_.clear_pane();
  pending_ = false;
  if (status == kOutOfMemory && !was_retry) {
    awaiting_retry_ = true;
    shell_.post_stroke_error();
    return InkOutcome::retrying;
  }
  shell_.report_engine_error({kWhere, status});
  return InkOutcome::dropped;
}

void CCore::request() {
  if (!work_) return;
  if (!awaiting_retry_) request_ = true;
  work_->set();
}

void CCore::start_recognition() {
  if (!take_semaphore()) return;
  pending_ = true;
  work_->set();
}

void CCore::core_thread() {
  for (;;) {
    const platform::WaitResult woken = platform::wait_for(*work_, platform::kInfinite);
    if (!woken.signalled()) {
      if (woken.status != platform::WaitStatus::stopped) {
        shell_.show_error_box(kStringWaitFailed, kStringRestartAdvice);
        shell_.quit_application();
      }
      return;
    }
    if (quit_) return;
    if (request_ && !shutting_down_) recognise();
    request_ = false;
    semaphore_->release(1);
  }
}

void CCore::recognise() {
  int status = 0;
  {
    EngineGate::Hold hold(engine_.gate());
    RequestSwitches switches = request_switches();
    apply_recognition_overrides(files_.recognition_overrides, &switches);
    const crRecognitionParams params = build_request(switches);
    watchdog_->begin(switches.long_limit);
    status = engine_.recognize(params);
    watchdog_->end();
    if (status == kStoppedOnRequest) status = 0;
    if (status != 0) result_[0] = 0;
    result_.back() = 0;
    result_length_ = std::char_traits<char16_t>::length(result_.data());
    engine_.clear_pane();
  }
  if (status != 0) shell_.report_engine_error({kWhere, status});
  pending_ = false;
  shell_.post_recognized();
}

// The switches as the controller set them; the active charsets decide
// right to left unless mode two asks for it already.
RequestSwitches CCore::request_switches() {
  const bool variants_off = variants_off_;
  RequestSwitches switches{.long_limit = long_limit_ && !variants_off,
                           .dictionary = dictionary_ && !variants_off,
                           .right_to_left = mode_two_};
  std::vector<std::uint32_t> ids;
  if (!switches.right_to_left && engine_.active_charsets(&ids) == 0) {
    switches.right_to_left = std::any_of(ids.begin(), ids.end(), is_right_to_left);
  }
  return switches;
}

crRecognitionParams CCore::build_request(const RequestSwitches& switches) {
  crRecognitionParams params{};
  params.callback = &CCore::variants_callback;
  params.delivery_mode = prompt_frequency_;
  params.third_word = 100;
  params.context = this;
  params.mode = switches.right_to_left ? 2 : 0;
  params.first_switch = 1;
  params.second_switch = 1;
  params.word_pass = switches.dictionary ? 1 : 0;
  params.cursive_split = switches.long_limit ? 1 : 0;
  params.caller_base_lines = 0;
  params.skew_search = 1;
  params.skew_allowed = 1;
  params.layout_switch = 1;
  params.refine_trajectories = 1;
  params.strict_switch = 0;
  result_[0] = 0;
  params.result_buffer = result_.data();
  params.result_size = static_cast<std::int32_t>(kResultUnits);
  return params;
}

int CCore::variants_callback(crResultChoice* choice, void* context) {
  if (choice == nullptr || context == nullptr) return 0;
  CCore& core = *static_cast<CCore*>(context);
  if (core.shutting_down_) return 0;
  {
    EngineGate::Loan loan(core.engine_.gate(), core.shell_.ui_thread());
    core.shell_.send_variants(*choice);
  }
  sanitise_answer(*choice);
  return 0;
}

}  // namespace ductra
