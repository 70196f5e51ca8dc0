// The replay touch driver (a library with the driver entries): enabling it
// plays the replay file named by $DUCTRA_REPLAY_FILE to the callback it was
// given; disabling it stops the replay and joins its thread. It has no
// calibration and answers every capability query with false.
#include <cstdlib>

#include "touchshim/replay/replay_player.h"
#include "touchshim/touch_panel_exports.h"

namespace {

ductra::tapshim::ReplayPlayer& player() {
  static ductra::tapshim::ReplayPlayer the_player;
  return the_player;
}

}  // namespace

extern "C" {

std::int32_t TouchPanelEnable(ductra::tapshim::SampleCallback callback) {
  const char* file = std::getenv("DUCTRA_REPLAY_FILE");
  if (file == nullptr || callback == nullptr) return 0;
  return player().start(file, callback) ? 1 : 0;
}

void TouchPanelDisable() { player().stop(); }

std::int32_t TouchPanelGetDeviceCaps(std::int32_t, void*) { return 0; }

std::int32_t TouchPanelSetMode(std::int32_t, void*) { return 1; }

void TouchPanelPowerHandler(std::int32_t) {}

}  // extern "C"
