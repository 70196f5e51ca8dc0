// The device's default input method: the desktop's own keyboard. It takes
// no panel area and types nothing (the person types on the desktop); the
// device falls back to it when the application gives up its input method,
// and selects it at shutdown so that the component is deselected. One
// object serves the process; it is its own class factory and never freed.
#pragma once

#include "appplatform/com/interfaces.h"

namespace ductra::device {

inline constexpr platform::Guid kDesktopKeyboardClassId{
    0x3A6C0F52, 0x91D4, 0x4E1B, {0x8F, 0x27, 0x5C, 0x0B, 0x44, 0xD1, 0x9E, 0x63}};

platform::HResult desktop_keyboard_class_object(const platform::Guid& clsid, const platform::Guid& iid, void** out);

}  // namespace ductra::device
