// A dialog as the application describes it: its id, title, style, font and
// frame, and the controls it holds, each with its id, class, text, style and
// rectangle (in the dialog's client coordinates). The application builds its
// templates in code; nothing is read from files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "appplatform/geometry.h"

namespace ductra::platform {

struct DialogItem {
  int id = 0;
  std::u16string class_name;
  std::u16string text;
  std::uint32_t style = 0;  // WS_CHILD | WS_VISIBLE are always added
  Rect rect;
};

struct DialogTemplate {
  int id = 0;
  std::u16string title;
  std::uint32_t style = 0;  // WS_POPUP is always added; WS_VISIBLE shows it at once
  std::u16string font_face = u"Tahoma";
  int font_height = 13;  // pixels of the character cell
  Rect frame;            // screen coordinates
  std::vector<DialogItem> items;
};

}  // namespace ductra::platform
