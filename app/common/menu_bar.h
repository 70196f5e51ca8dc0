// Menu bars (the soft keys at the bottom of a dialog) in the interface
// language.
//
// A menu-bar resource is a fixed list of commands whose texts are strings
// of the module that holds it: item n (from 1) of menu bar m has the text of
// string m * 100 + n. A language bundle holds a menu bar when it holds the
// texts of all its items. create_menu_bar() makes the bar from the bundle
// in use and, when that is not possible or the platform refuses it, once
// more from the program's own strings.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/common/localizer.h"
#include "appplatform/resources/string_table.h"
#include "appplatform/window_types.h"

namespace ductra {

// Menu-bar resources: 138 {1 done, 2 cancel}; 144 {40011 add, 40012 delete}.
inline constexpr std::uint32_t kDoneCancelMenuBar = 138;
inline constexpr std::uint32_t kAddDeleteMenuBar = 144;
// Flags of a menu-bar request: a bar without a resource, and a bar built
// from a menu resource.
inline constexpr std::uint32_t SHCMBF_EMPTYBAR = 0x0001;
inline constexpr std::uint32_t SHCMBF_HMENU = 0x0010;

struct MenuBarItem {
  int command = 0;
  std::u16string text;
};

struct MenuBarRequest {
  platform::WindowHandle parent;
  std::uint32_t resource_id = 0;
  std::uint32_t flags = 0;
  std::uint32_t bitmap_id = 0;
  int bitmap_count = 0;
  std::vector<MenuBarItem> items;  // empty for an empty bar
};

// The platform's menu-bar maker: the bar's window, or none when it fails.
using MenuBarMaker = std::function<platform::WindowHandle(const MenuBarRequest&)>;

// The items of menu bar `id` with their texts from `strings`; nothing when
// there is no such resource or `strings` lacks one of its texts.
std::optional<std::vector<MenuBarItem>> menu_bar_items(std::uint32_t id, const platform::StringTable& strings);

// The bar from the bundle in use, else from the program's own strings;
// none when both fail. A request with SHCMBF_EMPTYBAR needs no resource.
platform::WindowHandle create_menu_bar(const Localizer& localizer, const MenuBarMaker& maker,
                                       platform::WindowHandle parent, std::uint32_t resource_id,
                                       std::uint32_t flags, std::uint32_t bitmap_id, int bitmap_count);

// The platform's own maker: a bar of the request's items as soft keys (an
// empty bar for SHCMBF_EMPTYBAR).
MenuBarMaker platform_menu_bar_maker();

// create_menu_bar through the platform's maker.
platform::WindowHandle create_menu_bar(const Localizer& localizer, platform::WindowHandle parent,
                                       std::uint32_t resource_id, std::uint32_t flags);

}  // namespace ductra
