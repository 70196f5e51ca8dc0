// The pictures the tool window is made of, each s pixels high: the label
// icon (a short text in white bold on the indicator background of the size
// index), the tab (a white triangle on the platform's palette colour 8)
// and the two drawn key faces of the expanded window.
#pragma once

#include <memory>
#include <string_view>

#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/icon.h"

namespace ductra {

// The label centred on one line over bitmap 154 + size index, in bold
// "Tahoma" 6/8 s high; opaque over the whole square. Null when the
// background cannot be had.
std::shared_ptr<const platform::Icon> render_label_icon(std::u16string_view label, int size_index);

// The tab: 2/3 s wide and s high, palette indices 8 and 255.
std::shared_ptr<platform::Bitmap> render_tab(int s, bool movable, bool expanded);

enum class DrawnKey { backspace, space };
// The indicator background with the key's symbol in white 4-pixel lines.
std::shared_ptr<platform::Bitmap> render_drawn_key(DrawnKey key, int size_index);

}  // namespace ductra
