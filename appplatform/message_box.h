// Message boxes: a text, a caption, one of the button sets and an icon,
// answered by the user (the pen on the device, a scripted responder in
// tests). While a box is open its owner is disabled.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "appplatform/ui_responder.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr std::uint32_t MB_OK = 0x0000;
inline constexpr std::uint32_t MB_OKCANCEL = 0x0001;
inline constexpr std::uint32_t MB_YESNO = 0x0004;
inline constexpr std::uint32_t MB_ICONHAND = 0x0010;
inline constexpr std::uint32_t MB_ICONERROR = MB_ICONHAND;
inline constexpr std::uint32_t MB_ICONSTOP = MB_ICONHAND;
inline constexpr std::uint32_t MB_ICONQUESTION = 0x0020;
inline constexpr std::uint32_t MB_SETFOREGROUND = 0x00010000;
inline constexpr std::uint32_t MB_TOPMOST = 0x00040000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The request a box of these flags makes; nothing for a button set or icon
// this system does not offer.
std::optional<MessageBoxRequest> message_box_request(WindowHandle owner, std::u16string_view text,
                                                     std::u16string_view caption, std::uint32_t flags);

// The button chosen; 0 when the flags ask for what this system does not offer.
int message_box(WindowHandle owner, std::u16string_view text, std::u16string_view caption, std::uint32_t flags);

}  // namespace ductra::platform
