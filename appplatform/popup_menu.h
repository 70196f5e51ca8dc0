// Pop-up menus: items as data, their layout on the screen, and the tracking
// call that asks the user (the pen on the device, a scripted responder in
// tests) to choose one.
//
// Ids are plain ints, negative ones included. An "&" in an item's text marks
// the next character as its mnemonic and "&&" stands for one "&". The layout
// is this system's own; a drawing backend paints from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appplatform/window_types.h"

namespace ductra::platform {

// Item flags.
inline constexpr std::uint32_t MF_STRING = 0x0000;
inline constexpr std::uint32_t MF_GRAYED = 0x0001;
inline constexpr std::uint32_t MF_DISABLED = 0x0002;
inline constexpr std::uint32_t MF_CHECKED = 0x0008;
inline constexpr std::uint32_t MF_SEPARATOR = 0x0800;

// Tracking flags.
inline constexpr std::uint32_t TPM_LEFTALIGN = 0x0000;
inline constexpr std::uint32_t TPM_TOPALIGN = 0x0000;
inline constexpr std::uint32_t TPM_CENTERALIGN = 0x0004;
inline constexpr std::uint32_t TPM_RIGHTALIGN = 0x0008;
inline constexpr std::uint32_t TPM_BOTTOMALIGN = 0x0020;
inline constexpr std::uint32_t TPM_NONOTIFY = 0x0080;
inline constexpr std::uint32_t TPM_RETURNCMD = 0x0100;

struct MenuItem {
  int id = 0;
  std::u16string text;
  bool separator = false;
  bool checked = false;
  bool enabled = true;

  bool selectable() const { return !separator && enabled; }
};

// An item's text as shown: "&" markers removed, the mnemonic's position kept.
struct MenuLabel {
  std::u16string text;
  std::optional<std::size_t> mnemonic;
};
MenuLabel menu_label(std::u16string_view text);

class PopupMenu {
 public:
  // False (and nothing added) for flags this menu does not know.
  bool append(std::uint32_t flags, int id, std::u16string_view text);
  const std::vector<MenuItem>& items() const { return items_; }
  // The selectable item with the id, if any.
  const MenuItem* find(int id) const;

 private:
  std::vector<MenuItem> items_;
};

struct MenuLayout {
  Rect frame;                    // screen coordinates
  std::vector<Rect> item_rects;  // screen coordinates, one per item
};

inline constexpr int kMenuItemHeight = 24;
inline constexpr int kMenuSeparatorHeight = 7;

// Places the menu at (x, y) as the alignment flags say, inside the screen.
MenuLayout layout_menu(const PopupMenu& menu, Point at, std::uint32_t flags, Rect screen);
// The selectable item at a screen point.
std::optional<std::size_t> menu_item_at(const PopupMenu& menu, const MenuLayout& layout, Point screen_point);

// Shows the menu and waits for the choice. With TPM_RETURNCMD the chosen
// id, or 0 when the menu was dismissed; otherwise nonzero when an item was
// chosen, which is then posted to `owner` as WM_COMMAND unless TPM_NONOTIFY.
int track_popup_menu(const PopupMenu& menu, std::uint32_t flags, int x, int y, WindowHandle owner);

}  // namespace ductra::platform
