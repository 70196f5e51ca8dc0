#include "appplatform/dialog/keyboard_demand.h"

#include <mutex>

#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

struct Demand {
  std::mutex mutex;
  int holders = 0;
};

Demand& demand() {
  static Demand d;
  return d;
}

// Changes the count by `step` and tells the window system when the
// keyboard becomes wanted or free. The lock is held while telling, so two
// changes are told in the order they were made.
void change(int step) {
  Demand& d = demand();
  std::lock_guard lock(d.mutex);
  if (step < 0 && d.holders == 0) return;
  const bool before = d.holders > 0;
  d.holders += step;
  const bool wanted = d.holders > 0;
  if (wanted == before) return;
  if (WindowSystem* system = WindowSystem::current_if_any()) system->set_keyboard_demand(wanted);
}

}  // namespace

bool keyboard_wanted() {
  Demand& d = demand();
  std::lock_guard lock(d.mutex);
  return d.holders > 0;
}

void hold_keyboard() { change(+1); }
void release_keyboard() { change(-1); }

}  // namespace ductra::platform
