// The protocol between the application and the input-panel component's
// relay window: the window's class and title, the two messages the
// application sends it, and the kinds a character message carries.
//
// The application sends WM_QUILLPAD_CHAR once per UTF-16 unit of a text and
// then once with the flush kind; it posts WM_QUILLPAD_STATE when the
// recognition mode or its activity changes. Every argument is an integer, so
// the messages may cross processes.
#pragma once

#include <cstdint>
#include <string_view>

#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr std::u16string_view kRelayWindowClass = u"Korvale Software Ductra SIP Class";
inline constexpr std::u16string_view kRelayWindowTitle = u"Korvale Software Ductra SIP Window";

// wParam: the unit's kind or kRelayFlush; lParam: the unit (0 with the flush).
inline constexpr std::uint32_t WM_QUILLPAD_CHAR = 0x8200;
// wParam: the recognition-mode indicator 0, 1 or 2; lParam: active (0 or 1).
inline constexpr std::uint32_t WM_QUILLPAD_STATE = 0x8532;

// Kinds of a character message.
inline constexpr WParam kRelayPlainUnit = 0;
inline constexpr WParam kRelayBackspace = 8;
inline constexpr WParam kRelayTab = 9;
inline constexpr WParam kRelayEnter = 13;
inline constexpr WParam kRelayFlush = 0xFFFF;

}  // namespace ductra::platform
