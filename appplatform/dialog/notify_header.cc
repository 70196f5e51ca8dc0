#include "appplatform/dialog/notify_header.h"

#include "appplatform/dialog/child_record.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

MessageResult notify_parent(WindowHandle control, NotifyHeader& header) {
  WindowSystem& system = WindowSystem::current();
  header.from = control;
  header.id = static_cast<std::uintptr_t>(child_id(control));
  return system.send_message(system.parent(control), WM_NOTIFY, header.id, reinterpret_cast<LParam>(&header)).result;
}

}  // namespace ductra::platform
