// The X11 touch driver (a library with the driver entries): enabling it
// follows the pointer over the device's window, named by
// $DUCTRA_X11_WINDOW (the window's id) and shown at $DUCTRA_X11_SCALE
// (default 1), on $DISPLAY; disabling it stops and joins its thread. It has
// no calibration and answers every capability query with false.
#include <algorithm>
#include <cstdlib>

#include "touchshim/touch_panel_exports.h"
#include "touchshim/x11/x11_pointer.h"

namespace {

ductra::tapshim::X11Pointer& pointer() {
  static ductra::tapshim::X11Pointer the_pointer;
  return the_pointer;
}

unsigned long number_of(const char* variable, unsigned long otherwise) {
  const char* text = std::getenv(variable);
  if (text == nullptr) return otherwise;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  return end != text && *end == '\0' ? value : otherwise;
}

}  // namespace

extern "C" {

std::int32_t TouchPanelEnable(ductra::tapshim::SampleCallback callback) {
  const unsigned long window = number_of("DUCTRA_X11_WINDOW", 0);
  const auto scale = static_cast<int>(std::min(number_of("DUCTRA_X11_SCALE", 1), 64ul));
  return pointer().start(nullptr, window, scale, callback) ? 1 : 0;
}

void TouchPanelDisable() { pointer().stop(); }

std::int32_t TouchPanelGetDeviceCaps(std::int32_t, void*) { return 0; }

std::int32_t TouchPanelSetMode(std::int32_t, void*) { return 1; }

void TouchPanelPowerHandler(std::int32_t) {}

}  // extern "C"
