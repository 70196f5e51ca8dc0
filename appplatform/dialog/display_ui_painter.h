// The painter of the pen's pop-up menus and message boxes: it draws them on
// the display in the system's colours and font (items with their checks,
// separators and the highlighted one; the box's caption, text and
// buttons). The pen's responder uses it unless another is installed.
#pragma once

#include "appplatform/pen_responder.h"

namespace ductra::platform {

class DisplayUiPainter final : public UiPainter {
 public:
  void paint_menu(WindowHandle window, const MenuRequest& request, std::optional<std::size_t> highlighted) override;
  void paint_message_box(WindowHandle window, const MessageBoxRequest& request, const MessageBoxLayout& layout) override;
};

// The process's one instance.
DisplayUiPainter& display_ui_painter();

}  // namespace ductra::platform
