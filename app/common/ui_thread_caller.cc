#include "app/common/ui_thread_caller.h"

#include "appplatform/window_system.h"
#include "appplatform/wire_protocol.h"

namespace ductra {

UiThreadCaller::UiThreadCaller(platform::WindowHandle window) : window_(window) {
  platform::declare_pointer_message(WM_DUCTRA_RUN_ON_UI);
}

bool UiThreadCaller::run(const std::function<void()>& work) const {
  const platform::SendOutcome outcome = platform::WindowSystem::current().send_message(
      window_, WM_DUCTRA_RUN_ON_UI, 0, reinterpret_cast<platform::LParam>(&work));
  return outcome.status == platform::MessageStatus::delivered;
}

platform::MessageResult run_sent_work(platform::LParam lparam) {
  (*reinterpret_cast<const std::function<void()>*>(lparam))();
  return 0;
}

}  // namespace ductra
