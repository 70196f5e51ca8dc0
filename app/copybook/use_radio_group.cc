#include "app/copybook/use_radio_group.h"

#include "appplatform/dialog/control_constants.h"
#include "appplatform/window_system.h"

namespace ductra {

void UseRadioGroup::show(std::int32_t use) const {
  platform::WindowSystem& windows = platform::WindowSystem::current();
  for (const platform::WindowHandle button : buttons_) {
    windows.send_message(button, platform::BM_SETCHECK, platform::BST_UNCHECKED, 0);
  }
  if (use >= 0 && use < 3) windows.send_message(buttons_[use], platform::BM_SETCHECK, platform::BST_CHECKED, 0);
}

}  // namespace ductra
