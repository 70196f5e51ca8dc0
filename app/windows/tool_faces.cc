#include "app/windows/tool_faces.h"

#include "app/windows/key_symbols.h"
#include "app/windows/tool_geometry.h"
#include "appplatform/draw/device_context.h"
#include "appplatform/draw/font.h"
#include "appplatform/resources/builtin_resources.h"

namespace ductra {
namespace {

constexpr platform::ColorRef kWhite = platform::rgb(255, 255, 255);
constexpr std::uint32_t kTabDark = 8;
constexpr std::uint32_t kTabLight = 255;
constexpr int kKeyLineWidth = 4;
constexpr int kKeyInset = 8;

std::shared_ptr<platform::Bitmap> indicator_background(int size_index) {
  return platform::load_builtin_bitmap(platform::kIndicatorBitmapFirst + size_index);
}

}  // namespace

std::shared_ptr<const platform::Icon> render_label_icon(std::u16string_view label, int size_index) {
  auto image = indicator_background(size_index);
  if (!image) return nullptr;
  const int s = image->width();
  platform::DeviceContext dc(image);
  dc.set_bk_mode(platform::TRANSPARENT);
  dc.set_text_color(kWhite);
  dc.select_font(platform::create_font({6 * s / 8, platform::FW_BOLD, false, false, u"Tahoma"}));
  platform::Rect square{0, 0, s, s};
  dc.draw_text(label, square, platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
  // A mask of 0 bits shows the whole square as drawn; set bits would let
  // the window's grey through, mixed into the label.
  return platform::Icon::create(platform::Bitmap::create_mono(s, s), std::move(image));
}

std::shared_ptr<platform::Bitmap> render_tab(int s, bool movable, bool expanded) {
  const int c = tool_tab_width(s);
  auto tab = platform::Bitmap::create_indexed8(c, s, platform::default_palette());
  if (!tab) return nullptr;
  for (int i = 0; i < s; ++i) {
    for (int k = 0; k < c; ++k) {
      tab->set_native(k, i, tool_tab_pixel_is_dark(k, i, s, movable, expanded) ? kTabDark : kTabLight);
    }
  }
  return tab;
}

std::shared_ptr<platform::Bitmap> render_drawn_key(DrawnKey key, int size_index) {
  auto face = indicator_background(size_index);
  if (!face) return nullptr;
  const int s = face->width();
  platform::DeviceContext dc(face);
  dc.select_pen(platform::solid_pen(kKeyLineWidth, kWhite));
  const platform::Rect cell{0, 0, s, s};
  if (key == DrawnKey::backspace) {
    draw_backspace_arrow(dc, cell, kKeyInset);
  } else {
    draw_space_symbol(dc, cell, kKeyInset, s / 8);
  }
  return face;
}

}  // namespace ductra
