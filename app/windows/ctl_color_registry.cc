#include "app/windows/ctl_color_registry.h"

#include <algorithm>

namespace ductra {

CtlColorRegistry& CtlColorRegistry::instance() {
  static CtlColorRegistry registry;
  return registry;
}

void CtlColorRegistry::add(platform::WindowHandle control, Routine routine, void* context) {
  const bool known = std::ranges::any_of(entries_, [&](const Entry& e) { return e.control == control; });
  if (!known && routine != nullptr) entries_.push_back({control, routine, context});
}

void CtlColorRegistry::remove(platform::WindowHandle control) {
  std::erase_if(entries_, [&](const Entry& e) { return e.control == control; });
}

platform::MessageResult CtlColorRegistry::dispatch(std::uint32_t message, platform::WParam wparam,
                                                   platform::LParam lparam) const {
  if (message != platform::WM_CTLCOLORSTATIC || wparam == 0) return 0;
  const platform::WindowHandle control{static_cast<std::uint32_t>(lparam)};
  const auto entry = std::ranges::find_if(entries_, [&](const Entry& e) { return e.control == control; });
  if (entry == entries_.end()) return 0;
  auto* dc = reinterpret_cast<platform::DeviceContext*>(wparam);
  return reinterpret_cast<platform::MessageResult>(entry->routine(*dc, entry->context));
}

}  // namespace ductra
