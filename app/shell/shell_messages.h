// The messages of the shell window: those the application's own threads and
// windows send it (WM_DUCTRA_*) and those it exchanges with the input-panel
// component (WM_QUILLPAD_*), and the notification header of WM_NOTIFY.
#pragma once

#include <cstdint>

#include "appplatform/component_protocol.h"
#include "appplatform/window_types.h"

namespace ductra {

inline constexpr std::uint32_t WM_DUCTRA_NEXT_CONFIGURATION = 0x8521;
inline constexpr std::uint32_t WM_DUCTRA_RECOGNIZED = 0x8522;
inline constexpr std::uint32_t WM_DUCTRA_STROKE_ERROR = 0x8523;
inline constexpr std::uint32_t WM_DUCTRA_VARIANTS = 0x8526;
inline constexpr std::uint32_t WM_DUCTRA_INK = 0x8527;
inline constexpr std::uint32_t WM_DUCTRA_KEY = 0x8528;
inline constexpr std::uint32_t WM_DUCTRA_TOGGLE_KEYBOARD = 0x8529;
inline constexpr std::uint32_t WM_DUCTRA_REPEAT_START = 0x852A;
inline constexpr std::uint32_t WM_DUCTRA_REPEAT_STOP = 0x852B;
using platform::WM_QUILLPAD_DESELECT;
using platform::WM_QUILLPAD_HIDING;
using platform::WM_QUILLPAD_OPTIONS;
using platform::WM_QUILLPAD_RELEASED;
using platform::WM_QUILLPAD_SHOWING;

// WM_DUCTRA_INK's wParam: one unit, a string, mode-three strokes done.
inline constexpr platform::WParam kInkOneUnit = 0;
inline constexpr platform::WParam kInkString = 2;
inline constexpr platform::WParam kInkStrokesDone = 3;

// WM_DUCTRA_NEXT_CONFIGURATION acts only on (0, 513).
inline constexpr platform::LParam kNextConfigurationPressed = 513;

// The header every WM_NOTIFY points to; code 1000 is a tap-and-hold.
struct NotifyHeader {
  platform::WindowHandle from;
  std::uintptr_t id = 0;
  std::uint32_t code = 0;
};
inline constexpr std::uint32_t kNotifyTapAndHold = 1000;

}  // namespace ductra
