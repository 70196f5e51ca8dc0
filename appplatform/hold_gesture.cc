#include "appplatform/hold_gesture.h"

#include "appplatform/ui_responder.h"

namespace ductra::platform {

int recognize_gesture(WindowHandle window, Point client_point, std::uint32_t) {
  return ui_responder().recognize_hold({window, client_point}) ? GN_CONTEXTMENU : 0;
}

}  // namespace ductra::platform
