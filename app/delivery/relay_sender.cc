#include "app/delivery/relay_sender.h"

#include "appplatform/com/input_panel_manager.h"
#include "appplatform/relay_protocol.h"

namespace ductra {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kLineFeed = 10;
constexpr char16_t kCarriageReturn = 13;
constexpr int kLettersMode = 2;

}  // namespace

platform::WindowHandle find_sip_window(platform::WindowSystem& windows) {
  const platform::WindowHandle panel = windows.find_window(platform::kPanelWindowClass, std::nullopt);
  if (!panel) return {};
  const platform::WindowHandle child = windows.get_window(panel, platform::GW_CHILD);
  if (!child || windows.class_name(child) != platform::kRelayWindowClass) return {};
  return child;
}

platform::WParam relay_kind(char16_t unit) {
  switch (unit) {
    case kBackspace:
      return platform::kRelayBackspace;
    case kTab:
      return platform::kRelayTab;
    case kLineFeed:
    case kCarriageReturn:
      return platform::kRelayEnter;
    default:
      return platform::kRelayPlainUnit;
  }
}

char16_t relay_unit(char16_t unit) { return unit == kLineFeed ? kCarriageReturn : unit; }

bool send_text_to_sip(platform::WindowSystem& windows, std::u16string_view units, platform::WindowHandle target) {
  const platform::WindowHandle relay = find_sip_window(windows);
  if (!relay) return false;
  if (target && windows.is_window(target) && windows.foreground_window() != target) {
    windows.set_foreground_window(target);
  }
  for (const char16_t unit : units) {
    windows.send_message(relay, platform::WM_QUILLPAD_CHAR, relay_kind(unit), relay_unit(unit));
  }
  windows.send_message(relay, platform::WM_QUILLPAD_CHAR, platform::kRelayFlush, 0);
  return true;
}

int mode_indicator(int recognize_mode) { return recognize_mode < kLettersMode ? recognize_mode : kLettersMode; }

void post_sip_state(platform::WindowSystem& windows, int indicator, bool active) {
  const platform::WindowHandle relay = find_sip_window(windows);
  if (relay) windows.post_message(relay, platform::WM_QUILLPAD_STATE, static_cast<platform::WParam>(indicator), active);
}

}  // namespace ductra
