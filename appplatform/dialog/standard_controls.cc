#include "appplatform/dialog/standard_controls.h"

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/list_view.h"

namespace ductra::platform {

void register_standard_controls(WindowSystem& system) {
  system.register_class({kStaticClass, static_procedure});
  system.register_class({kButtonClass, button_procedure});
  system.register_class({kEditClass, edit_procedure});
  system.register_class({kComboBoxClass, combo_box_procedure});
  system.register_class({kListBoxClass, list_box_procedure});
  system.register_class({kTrackbarClass, trackbar_procedure});
  system.register_class({kUpDownClass, up_down_procedure});
  system.register_class({kTabControlClass, tab_control_procedure});
  system.register_class({kListViewClass, list_view_procedure});
}

}  // namespace ductra::platform
