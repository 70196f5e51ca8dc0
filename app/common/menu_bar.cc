#include "app/common/menu_bar.h"

#include <array>

#include "appplatform/dialog/menu_bar.h"

namespace ductra {
namespace {

struct MenuBarResource {
  std::uint32_t id;
  std::array<int, 2> commands;
};

constexpr MenuBarResource kMenuBars[] = {
    {kDoneCancelMenuBar, {1, 2}},
    {kAddDeleteMenuBar, {40011, 40012}},
};

// The request for a bar from `strings`; nothing when they lack the resource.
std::optional<MenuBarRequest> request_from(const platform::StringTable& strings, const MenuBarRequest& base) {
  MenuBarRequest request = base;
  if ((base.flags & SHCMBF_EMPTYBAR) != 0) return request;
  std::optional<std::vector<MenuBarItem>> items = menu_bar_items(base.resource_id, strings);
  if (!items) return std::nullopt;
  request.items = std::move(*items);
  return request;
}

}  // namespace

std::optional<std::vector<MenuBarItem>> menu_bar_items(std::uint32_t id, const platform::StringTable& strings) {
  for (const MenuBarResource& resource : kMenuBars) {
    if (resource.id != id) continue;
    std::vector<MenuBarItem> items;
    for (std::size_t i = 0; i < resource.commands.size(); ++i) {
      const std::u16string* text = strings.find(id * 100 + static_cast<std::uint32_t>(i + 1));
      if (text == nullptr) return std::nullopt;
      items.push_back({resource.commands[i], *text});
    }
    return items;
  }
  return std::nullopt;
}

platform::WindowHandle create_menu_bar(const Localizer& localizer, const MenuBarMaker& maker,
                                       platform::WindowHandle parent, std::uint32_t resource_id,
                                       std::uint32_t flags, std::uint32_t bitmap_id, int bitmap_count) {
  const MenuBarRequest base{parent, resource_id, flags, bitmap_id, bitmap_count, {}};
  if (const auto bundle = localizer.bundle()) {
    if (const std::optional<MenuBarRequest> request = request_from(bundle->strings(), base)) {
      if (const platform::WindowHandle bar = maker(*request)) return bar;
    }
  }
  const std::optional<MenuBarRequest> own = request_from(localizer.own_strings(), base);
  return own ? maker(*own) : platform::WindowHandle{};
}

MenuBarMaker platform_menu_bar_maker() {
  return [](const MenuBarRequest& request) {
    std::vector<platform::SoftKey> keys;
    for (const MenuBarItem& item : request.items) keys.push_back({item.command, item.text});
    return platform::create_menu_bar(request.parent, keys);
  };
}

platform::WindowHandle create_menu_bar(const Localizer& localizer, platform::WindowHandle parent,
                                       std::uint32_t resource_id, std::uint32_t flags) {
  return create_menu_bar(localizer, platform_menu_bar_maker(), parent, resource_id, flags, 0, 0);
}

}  // namespace ductra
