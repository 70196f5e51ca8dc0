#include "appplatform/dialog/standard_controls.h"

#include "appplatform/dialog/control_constants.h"

namespace ductra::platform {

void register_standard_controls(WindowSystem& system) {
  system.register_class({kStaticClass, static_procedure});
  system.register_class({kButtonClass, button_procedure});
  system.register_class({kEditClass, edit_procedure});
}

}  // namespace ductra::platform
