#include "app/common/ui_thread_caller.h"

#include "appplatform/handed_work.h"
#include "appplatform/wire_protocol.h"

namespace ductra {

UiThreadCaller::UiThreadCaller(platform::WindowHandle window) : window_(window) {
  platform::declare_pointer_message(WM_DUCTRA_RUN_ON_UI);
}

bool UiThreadCaller::run(const std::function<void()>& work) const {
  return platform::send_work(window_, WM_DUCTRA_RUN_ON_UI, work).status == platform::MessageStatus::delivered;
}

platform::MessageResult run_sent_work(platform::LParam lparam) {
  platform::run_handed_work(lparam);
  return 0;
}

}  // namespace ductra
