// The handheld form of a dialog: sized to the whole screen above the menu
// bar, with an OK button of its own and, when asked, an empty menu bar.
#pragma once

#include <cstdint>

#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr std::uint32_t SHIDIM_FLAGS = 0x0001;
inline constexpr std::uint32_t SHIDIF_DONEBUTTON = 0x0001;
inline constexpr std::uint32_t SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
inline constexpr std::uint32_t SHIDIF_EMPTYMENU = 0x0020;

// Applies `flags` when `mask` holds SHIDIM_FLAGS: SHIDIF_SIZEDLGFULLSCREEN
// moves the dialog to the screen's top left, as wide as the screen and as
// high as the screen less the menu bar; SHIDIF_DONEBUTTON gives a dialog
// without an IDOK control an "OK" button at its top right; SHIDIF_EMPTYMENU
// gives it an empty menu bar. A child dialog (a property sheet's page)
// keeps the place, the buttons and the bar its sheet gives it. False when
// `dialog` is not a dialog or the mask has no flags.
bool init_full_screen_dialog(WindowHandle dialog, std::uint32_t mask, std::uint32_t flags);

}  // namespace ductra::platform
