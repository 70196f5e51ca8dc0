// What an up-down control tells its parent before its position changes:
// WM_NOTIFY with UDN_DELTAPOS and this record; a non-zero answer keeps the
// old position.
#pragma once

#include "appplatform/dialog/notify_header.h"

namespace ductra::platform {

struct UpDownNotify {
  NotifyHeader header;
  int position = 0;  // before the change
  int delta = 0;     // +1 up, -1 down
};

}  // namespace ductra::platform
