// What the application and its input-panel component (a library the
// device's input-panel manager loads) agree on besides the relay window:
// the component's class identifier, the application's shell window, the
// messages the component sends that window about the panel's life, the
// event the application sets once its shell window exists, and where the
// user's default input method is recorded.
//
// Every message carries integers only, so it may cross processes.
#pragma once

#include <cstdint>
#include <string_view>

#include "appplatform/com/guid.h"
#include "appplatform/registry.h"

namespace ductra::platform {

// The component's class: the one the manager makes it by and the one the
// application compares the current input method with.
inline constexpr Guid kQuillpadClassId{0x5D2E8A14, 0x7C3B, 0x4F96, {0xA1, 0xE0, 0x3B, 0x9C, 0x6D, 0x4F, 0x2E, 0x71}};

inline constexpr std::u16string_view kShellWindowClass = u"Korvale Software Ductra Shell Class";
inline constexpr std::u16string_view kShellWindowTitle = u"Korvale Software Ductra";

// To the shell window, wParam and lParam 0. Showing, hiding and the factory's
// release are posted; the options and deselection are sent.
inline constexpr std::uint32_t WM_QUILLPAD_SHOWING = 0x852D;
inline constexpr std::uint32_t WM_QUILLPAD_HIDING = 0x852E;
inline constexpr std::uint32_t WM_QUILLPAD_OPTIONS = 0x852F;
inline constexpr std::uint32_t WM_QUILLPAD_DESELECT = 0x8530;
inline constexpr std::uint32_t WM_QUILLPAD_RELEASED = 0x8531;

// Set (auto-reset) by the application once its shell window exists.
inline constexpr std::u16string_view kWindowCreatedEvent = u"Korvale Software Ductra window created Event";

// The user's own input method: a class identifier in its text form.
inline constexpr Hive kDefaultImHive = Hive::current_user;
inline constexpr std::u16string_view kDefaultImKey = u"ControlPanel\\Sip";
inline constexpr std::u16string_view kDefaultImValue = u"DefaultIm";

}  // namespace ductra::platform
