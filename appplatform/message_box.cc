#include "appplatform/message_box.h"

#include <algorithm>

#include "appplatform/window_system.h"

namespace ductra::platform {

namespace {

constexpr std::uint32_t kButtonMask = 0x000F;
constexpr std::uint32_t kIconMask = 0x00F0;

}  // namespace

std::optional<MessageBoxRequest> message_box_request(WindowHandle owner, std::u16string_view text,
                                                     std::u16string_view caption, std::uint32_t flags) {
  MessageBoxRequest request;
  request.owner = owner;
  request.text = text;
  request.caption = caption;
  switch (flags & kButtonMask) {
    case MB_OK: request.buttons = {IDOK}; break;
    case MB_OKCANCEL: request.buttons = {IDOK, IDCANCEL}; break;
    case MB_YESNO: request.buttons = {IDYES, IDNO}; break;
    default: return std::nullopt;
  }
  switch (flags & kIconMask) {
    case 0: request.icon = MessageBoxIcon::none; break;
    case MB_ICONHAND: request.icon = MessageBoxIcon::stop; break;
    case MB_ICONQUESTION: request.icon = MessageBoxIcon::question; break;
    default: return std::nullopt;
  }
  request.topmost = (flags & MB_TOPMOST) != 0;
  request.set_foreground = (flags & MB_SETFOREGROUND) != 0;
  return request;
}

int message_box(WindowHandle owner, std::u16string_view text, std::u16string_view caption, std::uint32_t flags) {
  const std::optional<MessageBoxRequest> request = message_box_request(owner, text, caption, flags);
  if (!request) return 0;
  WindowSystem& system = WindowSystem::current();
  const bool disable_owner = owner && system.is_window_enabled(owner);
  if (disable_owner) system.enable_window(owner, false);
  int answer = ui_responder().answer_message_box(*request);
  if (disable_owner) system.enable_window(owner, true);
  const auto& buttons = request->buttons;
  if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end()) {
    // An answer the box does not offer counts as its way out: cancel or no when
    // there is one, else the only button.
    answer = buttons.size() == 1 ? buttons.front() : buttons.back();
  }
  return answer;
}

}  // namespace ductra::platform
