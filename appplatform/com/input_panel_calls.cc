#include "appplatform/com/input_panel_calls.h"

#include <algorithm>
#include <cstring>

#include "appplatform/com/input_panel_manager.h"

namespace ductra::platform {
namespace {

std::optional<MessageResult> ask_panel(std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem* system = WindowSystem::current_if_any();
  if (system == nullptr) return std::nullopt;
  const WindowHandle panel = system->find_window(kPanelWindowClass, std::nullopt);
  if (!panel) return std::nullopt;
  const SendOutcome outcome = system->send_message(panel, message, wparam, lparam);
  if (outcome.status != MessageStatus::delivered) return std::nullopt;
  return outcome.result;
}

}  // namespace

WParam guid_first_half(const Guid& guid) {
  std::uint64_t half = 0;
  std::memcpy(&half, &guid, sizeof half);
  return static_cast<WParam>(half);
}

LParam guid_second_half(const Guid& guid) {
  std::uint64_t half = 0;
  std::memcpy(&half, reinterpret_cast<const std::byte*>(&guid) + sizeof half, sizeof half);
  return static_cast<LParam>(half);
}

Guid guid_from_halves(WParam first, LParam second) {
  const std::uint64_t halves[2] = {static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(second)};
  static_assert(sizeof halves == sizeof(Guid));
  Guid guid;
  std::memcpy(&guid, halves, sizeof guid);
  return guid;
}

SipInfo describe_panel(WindowSystem& system, WindowHandle panel, bool shown) {
  SipInfo info;
  info.flags = shown ? SIPF_ON : SIPF_OFF;
  info.sip_rect = system.window_rect(panel).value_or(Rect{});
  info.visible_desktop = system.screen().work_area;
  if (shown) info.visible_desktop.bottom = std::min(info.visible_desktop.bottom, info.sip_rect.top);
  return info;
}

bool sip_show_im(bool on) { return ask_panel(WM_PANEL_SHOW, on ? 1 : 0, 0) == 1; }

bool sip_set_current_im(const Guid& clsid) {
  return ask_panel(WM_PANEL_SET_CURRENT, guid_first_half(clsid), guid_second_half(clsid)) == 1;
}

std::optional<bool> sip_current_im_is(const Guid& clsid) {
  const std::optional<MessageResult> answer =
      ask_panel(WM_PANEL_CURRENT_IS, guid_first_half(clsid), guid_second_half(clsid));
  if (!answer) return std::nullopt;
  return *answer == 1;
}

bool sip_get_info(SipInfo& info) {
  if (info.cb_size != sizeof(SipInfo)) return false;
  WindowSystem* system = WindowSystem::current_if_any();
  const std::optional<MessageResult> shown = ask_panel(WM_PANEL_IS_SHOWN, 0, 0);
  if (system == nullptr || !shown) return false;
  info = describe_panel(*system, system->find_window(kPanelWindowClass, std::nullopt), *shown == 1);
  return true;
}

}  // namespace ductra::platform
