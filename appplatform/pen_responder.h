// The device's own answers to menus, message boxes and the hold gesture:
// the pen.
//
// A menu or a box is a topmost window that takes the pointer capture; a
// nested message loop runs on the asking thread until the pen is released
// on an item (or, for a menu, anywhere outside it, which dismisses it).
// Painting is left to a UiPainter: the display's (DisplayUiPainter) unless
// another is installed; with none the windows are laid out and take input
// but show nothing.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "appplatform/ui_responder.h"

namespace ductra::platform {

struct MessageBoxLayout {
  Rect frame;                      // screen coordinates
  std::vector<Rect> button_rects;  // screen coordinates, one per button
};

MessageBoxLayout layout_message_box(const MessageBoxRequest& request, Rect screen);

class UiPainter {
 public:
  virtual ~UiPainter() = default;
  virtual void paint_menu(WindowHandle window, const MenuRequest& request, std::optional<std::size_t> highlighted) = 0;
  virtual void paint_message_box(WindowHandle window, const MessageBoxRequest& request, const MessageBoxLayout& layout) = 0;
};

// Installs the painter of menus and boxes (null: none); returns the previous one.
UiPainter* set_ui_painter(UiPainter* painter);

class PenResponder final : public UiResponder {
 public:
  std::optional<int> choose_menu_item(const MenuRequest& request) override;
  int answer_message_box(const MessageBoxRequest& request) override;
  bool recognize_hold(const HoldRequest& request) override;
};

}  // namespace ductra::platform
