#include "app/common/error_reports.h"

#include <array>

#include "appplatform/interlocked.h"
#include "appplatform/message_box.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr std::size_t kFirstTextUnits = 1024;
constexpr std::size_t kSecondTextUnits = 256;
constexpr std::size_t kReportUnits = 1023;

}  // namespace

std::optional<ErrorReporter::Pause> ErrorReporter::pause_controller() {
  PausableController* controller = host_.controller();
  if (controller == nullptr) return std::nullopt;
  Pause pause;
  pause.was_active = controller->is_active();
  if (pause.was_active) controller->set_active(false);
  controller->set_modal_box(true);
  pause.capture_mode = controller->capture_mode();
  if (pause.capture_mode) controller->set_capture_mode(kCaptureOff);
  return pause;
}

void ErrorReporter::resume_controller(const std::optional<Pause>& pause) {
  PausableController* controller = host_.controller();
  if (!pause || controller == nullptr) return;
  controller->set_active(pause->was_active);
  controller->set_modal_box(false);
  if (pause->capture_mode) controller->set_capture_mode(*pause->capture_mode);
}

int ErrorReporter::show_error_box(std::uint32_t first, std::uint32_t second, std::uint32_t flags) {
  int answer = 0;
  host_.run_on_ui_thread([&] {
    std::array<char16_t, kFirstTextUnits> first_text{};
    localizer_.get_string(first, first_text);
    std::u16string text = first_text.data();
    if (second != 0) {
      std::array<char16_t, kSecondTextUnits> second_text{};
      localizer_.get_string(second, second_text);
      text += u'\n';
      text += second_text.data();
    }
    const std::optional<Pause> pause = pause_controller();
    answer = platform::message_box({}, text, kProductCaption, flags);
    resume_controller(pause);
  });
  return answer;
}

std::u16string ErrorReporter::engine_error_text(const ExceptionInfo& info) const {
  if (info.code == kEngineOutOfMemory) return std::u16string(kOutOfMemoryText);
  std::array<char16_t, kSecondTextUnits> advice{};
  localizer_.get_string(kRestartAdviceText, advice);
  const FormatArg args[] = {std::u16string_view(advice.data()), info.where != nullptr ? info.where : u"",
                            info.code};
  return localizer_.format(kEngineErrorText, args, kReportUnits);
}

void ErrorReporter::show_engine_error(const ExceptionInfo& info) {
  const std::optional<Pause> pause = pause_controller();
  const platform::WindowHandle owner = platform::WindowSystem::current().foreground_window();
  platform::message_box(owner, engine_error_text(info), kProductCaption, kErrorBoxFlags);
  if (info.code == kEngineOutOfMemory) {
    resume_controller(pause);
    return;
  }
  if (PausableController* controller = host_.controller()) controller->set_modal_box(false);
  end_application();
}

void ErrorReporter::end_application() {
  ending_.store(true);
  host_.select_default_input_method();
  host_.save_settings_and_configurations();
  host_.quit_message_loop(0);
}

void ErrorReporter::report_engine_error(const ExceptionInfo& info) {
  if (platform::interlocked_increment(reports_) == 1 && !ending_.load()) {
    host_.run_on_ui_thread([&] { show_engine_error(info); });
  }
  platform::interlocked_decrement(reports_);
}

}  // namespace ductra
