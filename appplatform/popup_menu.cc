#include "appplatform/popup_menu.h"

#include <algorithm>

#include "appplatform/ui_responder.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

namespace {

constexpr std::uint32_t kKnownItemFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR;
constexpr int kMenuCharWidth = 7;
constexpr int kMenuPadding = 26;
constexpr int kMenuMinimumWidth = 60;

int fit(int start, int extent, int low, int high) {
  if (start + extent > high) start = high - extent;
  return std::max(start, low);
}

}  // namespace

MenuLabel menu_label(std::u16string_view text) {
  MenuLabel label;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != u'&' && !label.mnemonic) label.mnemonic = label.text.size();
    }
    label.text.push_back(text[i]);
  }
  return label;
}

bool PopupMenu::append(std::uint32_t flags, int id, std::u16string_view text) {
  if (flags & ~kKnownItemFlags) return false;
  MenuItem item;
  item.separator = (flags & MF_SEPARATOR) != 0;
  item.id = item.separator ? 0 : id;
  item.text = item.separator ? std::u16string() : std::u16string(text);
  item.checked = (flags & MF_CHECKED) != 0;
  item.enabled = (flags & (MF_GRAYED | MF_DISABLED)) == 0;
  items_.push_back(std::move(item));
  return true;
}

const MenuItem* PopupMenu::find(int id) const {
  auto it = std::find_if(items_.begin(), items_.end(), [&](const MenuItem& item) { return item.selectable() && item.id == id; });
  return it == items_.end() ? nullptr : &*it;
}

MenuLayout layout_menu(const PopupMenu& menu, Point at, std::uint32_t flags, Rect screen) {
  int width = kMenuMinimumWidth;
  int height = 0;
  for (const MenuItem& item : menu.items()) {
    height += item.separator ? kMenuSeparatorHeight : kMenuItemHeight;
    const int text_width = static_cast<int>(menu_label(item.text).text.size()) * kMenuCharWidth + kMenuPadding;
    width = std::max(width, text_width);
  }
  width = std::min(width, screen.width());
  int left = at.x;
  if (flags & TPM_RIGHTALIGN) left = at.x - width;
  if (flags & TPM_CENTERALIGN) left = at.x - width / 2;
  const int top = (flags & TPM_BOTTOMALIGN) ? at.y - height : at.y;
  MenuLayout layout;
  layout.frame.left = fit(left, width, screen.left, screen.right);
  layout.frame.top = fit(top, height, screen.top, screen.bottom);
  layout.frame.right = layout.frame.left + width;
  layout.frame.bottom = layout.frame.top + height;
  int y = layout.frame.top;
  for (const MenuItem& item : menu.items()) {
    const int item_height = item.separator ? kMenuSeparatorHeight : kMenuItemHeight;
    layout.item_rects.push_back({layout.frame.left, y, layout.frame.right, y + item_height});
    y += item_height;
  }
  return layout;
}

std::optional<std::size_t> menu_item_at(const PopupMenu& menu, const MenuLayout& layout, Point screen_point) {
  for (std::size_t i = 0; i < layout.item_rects.size() && i < menu.items().size(); ++i) {
    if (layout.item_rects[i].contains(screen_point)) {
      if (menu.items()[i].selectable()) return i;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

int track_popup_menu(const PopupMenu& menu, std::uint32_t flags, int x, int y, WindowHandle owner) {
  WindowSystem& system = WindowSystem::current();
  const ScreenState screen = system.screen();
  MenuRequest request{&menu, layout_menu(menu, {x, y}, flags, {0, 0, screen.width, screen.height}), flags, owner};
  std::optional<int> chosen = ui_responder().choose_menu_item(request);
  if (chosen && !menu.find(*chosen)) chosen.reset();  // only a selectable item of this menu counts
  if (flags & TPM_RETURNCMD) return chosen.value_or(0);
  if (!chosen) return 0;
  if (!(flags & TPM_NONOTIFY) && owner) {
    system.post_message(owner, WM_COMMAND, static_cast<WParam>(static_cast<std::uint32_t>(*chosen) & 0xFFFF), 0);
  }
  return 1;
}

}  // namespace ductra::platform
