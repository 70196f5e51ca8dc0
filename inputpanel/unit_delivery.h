// Hands queued units to the input panel's callback, which types them into
// the focused program.
//
// Runs of ordinary units go out as one SendString each, followed by a pause
// of kRunPauseMs on the process clock; a backspace (8) is a virtual key
// pressed and released; a tab (9) or carriage return (13) is a character
// event pressed and released. Everything is delivered in the order given.
#pragma once

#include <cstdint>
#include <span>

#include "appplatform/com/interfaces.h"

namespace ductra::quillpad {

inline constexpr std::uint32_t kRunPauseMs = 10;

void deliver_units(std::span<const char16_t> units, platform::IIMCallback& callback);

}  // namespace ductra::quillpad
