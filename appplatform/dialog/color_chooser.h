// The colour chooser: a modal dialog of colour swatches (sixteen basic
// colours and the caller's sixteen custom ones), a sample of the colour
// chosen so far, OK and Cancel. A tap on a swatch chooses its colour; OK
// gives it to the caller, Cancel changes nothing.
#pragma once

#include <array>
#include <cstdint>

#include "appplatform/draw/color.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr std::uint32_t CC_RGBINIT = 0x0001;
inline constexpr char16_t kColorChooserTitle[] = u"Color";
// Control ids of the chooser: swatch i (0..31, basic colours first) and the sample.
inline constexpr int kFirstSwatch = 100;
inline constexpr int kColorSample = 200;

struct ChooseColorRequest {
  WindowHandle owner;
  ColorRef color = 0;  // the first colour shown with CC_RGBINIT; the choice after OK
  std::uint32_t flags = 0;
  std::array<ColorRef, 16>* custom_colors = nullptr;  // shown as swatches 16..31; may be null
};

// True when the user chose a colour with OK (it is in request.color).
bool choose_color(ChooseColorRequest& request);

}  // namespace ductra::platform
